#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <utility>

#include "instrument/picture.h"

namespace kaldra {

// Time as a front end tells it to the instrument: milliseconds on a steady
// clock, from an epoch of the front end's choosing. The instrument reads no
// clock of its own, so a test can set every moment.
using Time = std::chrono::milliseconds;

// The paces of the drawing: how long it waits before each pair, in
// milliseconds. The first is full speed, where it does not wait at all.
inline constexpr std::array<int, 7> kPairDelaysMs = {0, 20, 50, 100, 250, 500, 1000};

// What a drawing does at a pair announced: go on, stop, or wait and ask again
// (at `until` at the latest; with no `until`, paused, when anything changes).
struct Proceed {
  enum class Kind { kGoOn, kWait, kStop };
  Kind kind = Kind::kGoOn;
  std::optional<Time> until;
  bool operator==(const Proceed&) const = default;
};

// The drawing of a scene from the start, as the window shows it growing: the
// front end runs the sweeps and asks here at every yield and every pair
// whether to go on. At full speed nothing waits; at a slower pace or paused
// the drawing waits before each pair, the pace read afresh each time it asks,
// so a change applies to the pair waited before. Paused, it steps: one pair
// on, or back, which draws again from the start up to the pair before.
class DrawingPace {
 public:
  // Asks for `picture` to be drawn from the start, its first `skip` pairs
  // (both sweeps counted) without waiting; a drawing under way stops at its
  // next yield and gives way to it.
  void Want(Picture picture, int skip = 0);
  // The drawing asked for, or else the one under way, made in `picture`
  // instead (another scale or style), the latter from the pair it reached.
  // Returns false when there is neither.
  bool Redo(Picture picture);
  // Stops the drawing under way at its next yield, and drops the one asked
  // for.
  void Stop();
  // The picture to draw now, when one is asked for and none is under way;
  // the front end draws it and then calls Ended.
  std::optional<Picture> Take();
  void Ended();

  bool Drawing() const { return drawing_.has_value(); }
  // The picture being drawn. Precondition: Drawing().
  const Picture& Drawn() const { return drawing_->picture; }
  // At a yield: whether the drawing under way goes on.
  bool GoesOn() const { return drawing_ && !drawing_->stopped; }
  // The sweeps announce the pair (i, j), at `now`.
  Proceed BeforePair(int i, int j, Time now);
  // Asked again while waiting before the pair.
  Proceed Waited(Time now) const;
  // The pair the drawing waits before, at a slow pace or paused.
  std::optional<std::pair<int, int>> WaitingPair() const;
  // The pairs traced so far in the drawing under way, both sweeps counted.
  int PairsDone() const;
  // 1 or 2: the sweep of the last pair announced.
  int Sweep() const;
  // The pairs of one sweep: every two segments of the scene drawn.
  int PairsPerSweep() const;

  void Slower();
  void Faster();
  void FullSpeed() { pace_ = 0; }
  void TogglePause() { paused_ = !paused_; }
  // Paused and waiting before a pair: traces that pair and waits before the
  // next one.
  void StepForward();
  int DelayMs() const { return kPairDelaysMs[static_cast<std::size_t>(pace_)]; }
  bool Paused() const { return paused_; }
  // A slower pace or a pause, whether or not anything is being drawn.
  bool Paced() const { return pace_ != 0 || paused_; }

 private:
  struct UnderWay {
    Picture picture;
    int pairs = 0;  // announced so far, both sweeps
    int skip = 0;   // the pairs traced without waiting
    std::optional<std::pair<int, int>> waiting;
    Time since{};  // when the pair waited before was announced
    bool stopped = false;
  };

  int pace_ = 0;  // index into kPairDelaysMs
  bool paused_ = false;
  std::optional<UnderWay> wanted_;
  std::optional<UnderWay> drawing_;
};

}  // namespace kaldra
