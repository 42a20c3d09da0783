// A small thermal model of the heat pump's water side, so that the control can be watched working: the
// water loop, the tank, the room and the indoor coil warm or cool with the compressor's speed, the pump,
// the three-way valve's side and the heaters, each with first-order dynamics against its neighbours.
// Heat in kW, heat capacities in kJ/K, time in seconds.
#pragma once

namespace unitsim {

// What the model reads from the boards' registers each step.
struct ThermalInputs {
  double compressorHz = 0.0;
  bool cooling = false;       // the outdoor unit runs in cooling (mode word 1)
  bool pump = false;          // water flows through the unit
  bool hotWaterSide = false;  // the three-way valve sends the water through the tank's coil
  bool lineHeater = false;    // the heater in the water line (indoor output 1110)
  bool loopHeater = false;    // the second heater of the heating water (1111)
  bool tankHeater = false;    // the heater in the tank (1109)
};

class ThermalModel {
public:
  void Step(const ThermalInputs& in, double seconds);

  double ambient = 7.0;
  double loop = 20.0;    // water in the loop, as it returns to the unit (the inlet)
  double outlet = 20.0;  // water leaving the unit
  double tank = 40.0;
  double room = 18.0;
  double coil = 20.0;    // the indoor refrigerant coil

private:
  void Tick(const ThermalInputs& in, double dt);
};

}  // namespace unitsim
