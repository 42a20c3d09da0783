#include "CoilIcing.h"

namespace unitsim {
namespace {

const double kIcingBelow = 3.0;         // outdoor air at which the coil starts to collect ice
const double kIcePerHzKelvin = 1.8e-6;  // per second: 60 Hz in -5 degree air ices up in about 20 minutes
const double kMeltPerSecond = 1.0 / 240.0;
const double kShortestDefrost = 60.0;

}  // namespace

void CoilIcing::Step(double ambient, double hz, bool heating, double seconds) {
  if (m_defrosting) {
    m_defrostSeconds += seconds;
    m_ice -= kMeltPerSecond * seconds;
    if (m_ice <= 0.0 && m_defrostSeconds >= kShortestDefrost) {
      m_ice = 0.0;
      m_defrosting = false;
    }
    if (m_ice < 0.0) m_ice = 0.0;
    return;
  }
  if (heating && hz > 0.0 && ambient < kIcingBelow) m_ice += kIcePerHzKelvin * hz * (kIcingBelow - ambient) * seconds;
  if (m_ice >= 1.0) {
    m_ice = 1.0;
    StartDefrost();
  }
}

void CoilIcing::ForceDefrost() {
  if (!m_defrosting) StartDefrost();
}

void CoilIcing::StartDefrost() {
  m_defrosting = true;
  m_defrostSeconds = 0.0;
  ++m_defrosts;
}

}  // namespace unitsim
