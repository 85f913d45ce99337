// Takes a screenshot of the X server's root window, saves it as PNG, and
// counts the colours in one rectangle of it, so that a script can tell what a
// window shows without an image tool.
//
//   grab_screen OUT.png X Y W H [SKIP_X SKIP_Y SKIP_W SKIP_H]
//
// Prints one line per colour of the drawing's palette, "RRGGBB count", then
// "other count": pixels that are neither black nor in the palette, outside
// the optional SKIP rectangle (relative to X, Y), which leaves out a control
// drawn by the widget style.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QScreen>

namespace {

// White and the six colours of the diagram, as 0xRRGGBB.
constexpr QRgb kPalette[] = {0xFFFFFF, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0xFF0000, 0x0000FF, 0x00FF00};

bool ParseInt(const char* text, int& value) {
  char* end = nullptr;
  const long parsed = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || parsed < -100000 || parsed > 100000) return false;
  value = static_cast<int>(parsed);
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  int v[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  const bool with_skip = argc == 10;
  bool ok = argc == 6 || with_skip;
  for (int i = 2; ok && i < argc; ++i) ok = ParseInt(argv[i], v[i - 2]);
  if (!ok) {
    std::fprintf(stderr, "usage: grab_screen OUT.png X Y W H [SKIP_X SKIP_Y SKIP_W SKIP_H]\n");
    return 2;
  }
  const QRect region(v[0], v[1], v[2], v[3]);
  const QRect skip = with_skip ? QRect(v[4], v[5], v[6], v[7]) : QRect();

  QGuiApplication application(argc, argv);
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    std::fprintf(stderr, "grab_screen: no screen\n");
    return 1;
  }
  const QImage shot = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
  if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "grab_screen: could not grab the screen into %s\n", argv[1]);
    return 1;
  }

  std::map<QRgb, long> counts;
  long other = 0;
  const QRect inside = region.intersected(shot.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) {
      const QRgb rgb = shot.pixel(x, y) & 0xFFFFFFu;
      ++counts[rgb];
      const bool known = rgb == 0 || std::find(std::begin(kPalette), std::end(kPalette), rgb) !=
                                         std::end(kPalette);
      if (!known && !skip.contains(x - region.left(), y - region.top())) ++other;
    }
  }
  for (const QRgb colour : kPalette) {
    std::printf("%06X %ld\n", static_cast<unsigned>(colour), counts[colour]);
  }
  std::printf("other %ld\n", other);
  return 0;
}
