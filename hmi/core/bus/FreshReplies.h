// The hand-over, in a unit's data block, by which a driver holds its writes after a poll that read nothing.
// What the block wants the unit to hold was computed by the engine from the unit's values before the gap;
// the unit may have restarted meanwhile (its command words back at 0). Until the engine has written outputs
// computed from a fresh reply, the driver writes nothing to that unit. The bus thread counts the replies,
// the engine says which count its outputs were computed at; each word is handed over whole.
#pragma once

#include <atomic>
#include <cstdint>

struct FreshReplies {
  std::atomic<uint32_t> count;     // bus: polls that read the unit, counted once their values are in the block
  std::atomic<uint32_t> answered;  // engine: the count at which the outputs it last wrote were computed
  uint32_t mapped;                 // engine: the count when its inputs last took the unit's values
};

// The driver's side (bus thread only).
class FreshReplyGate {
public:
  // This poll read the unit, its values are in the block. True when a poll that read nothing came
  // before it since the last reply: what the driver believes the unit holds is then to be read again.
  bool Fresh(FreshReplies& f) {
    f.count.fetch_add(1);
    const bool returning = m_lost;
    m_lost = false;
    return returning;
  }
  // This poll read nothing: writes wait for outputs computed from the next reply.
  void Lost(const FreshReplies& f) {
    m_from = f.count.load() + 1;
    m_lost = true;
  }
  // Writes may go out: the engine's outputs come from a reply after the last gap.
  bool Open(const FreshReplies& f) const { return static_cast<int32_t>(f.answered.load() - m_from) >= 0; }

private:
  uint32_t m_from = 0;  // the first reply whose outputs may be written
  bool m_lost = false;
};

// The engine's side (engine thread only): the count is taken before the values it goes with.
inline uint32_t RepliesSoFar(const FreshReplies& f) { return f.count.load(); }
inline void TookReply(FreshReplies& f, uint32_t count) { f.mapped = count; }
inline void OutputsWritten(FreshReplies& f) { f.answered.store(f.mapped); }
