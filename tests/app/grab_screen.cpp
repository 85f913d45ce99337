// grab_screen [WINDOW_ID [PNG]]: grabs a window (or the whole screen) and prints
// "WIDTH HEIGHT WHITE COLOURS OTHER": its size, its white pixels, how many of
// the diagram's six colours it shows, and its pixels of any other colour but
// black, leaving out the End button, which the widget style draws. With PNG
// the grab is saved there too (the README's screenshots).

#include <cstdio>
#include <cstdlib>
#include <set>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

int main(int argc, char* argv[]) {
  QGuiApplication application(argc, argv);
  const WId window = argc > 1 ? std::strtoul(argv[1], nullptr, 0) : 0;
  const QImage shot = QGuiApplication::primaryScreen()->grabWindow(window).toImage();
  if (argc > 2 && !shot.save(QString::fromLocal8Bit(argv[2]))) return 1;
  const std::set<QRgb> diagram = {0x00FFFF, 0xFF00FF, 0xFFFF00, 0xFF0000, 0x0000FF, 0x00FF00};
  std::set<QRgb> seen;
  long white = 0, other = 0;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      const QRgb rgb = shot.pixel(x, y) & 0xFFFFFFu;
      if (rgb == 0 || QRect(112, 8, 57, 25).contains(x, y)) continue;
      white += rgb == 0xFFFFFF ? 1 : 0;
      if (diagram.contains(rgb)) seen.insert(rgb);
      other += rgb != 0xFFFFFF && !diagram.contains(rgb) ? 1 : 0;
    }
  }
  std::printf("%d %d %ld %zu %ld\n", shot.width(), shot.height(), white, seen.size(), other);
  return 0;
}
