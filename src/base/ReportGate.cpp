#include "base/ReportGate.h"

namespace brimlow {

// Generation 0 is never issued: Close() and a fresh gate leave the counter
// at a value no live ticket carries.

bool ReportTicket::Valid() const {
  if (!state_) return true;
  return state_->generation.load(std::memory_order_acquire) == generation_;
}

ReportGate::ReportGate() : state_(std::make_shared<ReportTicket::State>()) {}

ReportGate::~ReportGate() { Close(); }

ReportTicket ReportGate::Issue() {
  const std::uint64_t generation = state_->generation.fetch_add(1, std::memory_order_acq_rel) + 1;
  return ReportTicket(state_, generation);
}

void ReportGate::Close() { state_->generation.fetch_add(1, std::memory_order_acq_rel); }

}  // namespace brimlow
