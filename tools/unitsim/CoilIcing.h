// Frost on the outdoor coil: heating in air a few degrees above freezing or colder runs the coil below
// 0 degrees and it collects ice, the faster the colder the air and the harder the compressor works.
// Once it is iced up the outdoor unit defrosts on its own (the cycle reversed, heat taken from the water,
// register 2119 reporting it) until the ice has melted; a defrost can also be asked for.
#pragma once

namespace unitsim {

class CoilIcing {
public:
  // One step of `seconds`: heating at `hz` in outdoor air at `ambient` degrees.
  void Step(double ambient, double hz, bool heating, double seconds);
  // The terminal asks for a defrost now.
  void ForceDefrost();

  bool Defrosting() const { return m_defrosting; }
  // 0 clear, 1 iced up.
  double Ice() const { return m_ice; }
  int Defrosts() const { return m_defrosts; }

private:
  void StartDefrost();

  double m_ice = 0.0;
  bool m_defrosting = false;
  double m_defrostSeconds = 0.0;
  int m_defrosts = 0;
};

}  // namespace unitsim
