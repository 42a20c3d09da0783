// Server writes for the tests in which the WiFi link stores them on its own thread while the engine
// applies them on another: a few settings with wide ranges, a value for each round and write (so that
// each round's last value differs from the round before), the link's way of storing one, and the check
// that the record holds the last value of every index with nothing left waiting in the table.
#pragma once

#include <cstdint>

#include "CSystemData.h"
#include "WifiBlock.h"

namespace enginetest {

struct RemoteSetting {
  int index;
  int32_t CSystemData::*field;
  int low, span;
  // The value of the n-th write to it in a round.
  int32_t Value(int round, int n) const { return low + (round * 7 + n) % span; }
};

inline const RemoteSetting kRemoteSettings[] = {{51, &CSystemData::m_heatIntegralSetting, 0, 600},
                                                {43, &CSystemData::m_sterilizeMaxTime, 10, 230},
                                                {59, &CSystemData::m_balanceHeatMaxTime, 30, 150},
                                                {52, &CSystemData::m_insufficientCapacityTime, 5, 115}};

// As CWifiDevice::ApplyFrame stores a value of unit 1: the table word, then the mark.
inline void LinkStores(WifiBlock& b, int index, int32_t value) {
  b.m_remoteTable[0][index] = value;
  b.m_remoteReceived = 1;
}

// The round's writes back to back: every setting twice, the second value the one that must stay.
inline void LinkStoresRound(WifiBlock& b, int round) {
  for (int n = 0; n < 2; ++n) {
    for (const RemoteSetting& s : kRemoteSettings) LinkStores(b, s.index, s.Value(round, n));
  }
}

// The settings whose last value of the round is not in the record, or that still wait in the table.
inline int LostValues(const CSystemData& d, const WifiBlock& b, int round) {
  int lost = 0;
  for (const RemoteSetting& s : kRemoteSettings) {
    if (d.*s.field != s.Value(round, 1) || b.m_remoteTable[0][s.index] != kWifiNothingReceived) ++lost;
  }
  return lost;
}

}  // namespace enginetest
