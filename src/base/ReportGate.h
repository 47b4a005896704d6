#pragma once
// Keeps a worker's reports away from a receiver that no longer wants them.
//
// The receiver (an engine) owns a ReportGate and gives each run a ticket
// (Issue). A worker carries its run's ticket; the call it hands to the main
// loop checks the ticket there, on the main thread, right before running,
// and is dropped when the ticket is stale. Issuing a new ticket makes every
// older one stale, so a late report of an aborted run never reaches the
// next run; Close() and the gate's destruction make every ticket stale, so
// nothing reports into a destroyed receiver.
//
// Issue, Close and the gate's destruction happen on the main thread, the
// same thread that checks tickets before running a report, so a ticket
// checked valid stays valid for the whole report. Valid() may also be asked
// from a worker (to give up early); that answer is only a hint.

#include <atomic>
#include <cstdint>
#include <memory>

namespace brimlow {

class ReportTicket {
 public:
  // A ticket of no gate: always valid (for workers nobody can abandon).
  ReportTicket() = default;

  bool Valid() const;

 private:
  friend class ReportGate;
  struct State {
    std::atomic<std::uint64_t> generation{0};
  };
  ReportTicket(std::shared_ptr<const State> state, std::uint64_t generation)
      : state_(std::move(state)), generation_(generation) {}

  std::shared_ptr<const State> state_;
  std::uint64_t generation_ = 0;
};

class ReportGate {
 public:
  ReportGate();
  // Makes every ticket stale.
  ~ReportGate();
  ReportGate(const ReportGate&) = delete;
  ReportGate& operator=(const ReportGate&) = delete;

  // Main thread. A new ticket; every ticket issued before is stale from now.
  ReportTicket Issue();
  // Main thread. Makes every ticket stale, including the current one.
  void Close();

 private:
  std::shared_ptr<ReportTicket::State> state_;
};

}  // namespace brimlow
