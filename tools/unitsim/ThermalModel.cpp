#include "ThermalModel.h"

namespace unitsim {
namespace {

const double kKwPerHz = 0.12;       // heat pump output per compressor hertz
const double kHeaterKw = 3.0;
const double kFlowKwPerK = 1.25;    // 0.3 kg/s of water
const double kLoopCapacity = 210.0; // about 50 l of water
const double kTankCapacity = 630.0; // 150 l
const double kRoomCapacity = 2000.0;
const double kEmitterUa = 0.25;     // loop to room
const double kTankCoilUa = 2.5;     // loop to tank through its coil
const double kTankLossUa = 0.005;   // tank to the room
const double kHouseUa = 0.2;        // room to the outdoor air
const double kCoilSeconds = 20.0;   // the coil follows the refrigerant side within seconds
const double kOutletSeconds = 10.0; // the outlet sensor follows the water it sees

}  // namespace

void ThermalModel::Step(const ThermalInputs& in, double seconds) {
  // Steps of at most one second keep the explicit integration stable.
  while (seconds > 0.0) {
    double dt = seconds < 1.0 ? seconds : 1.0;
    Tick(in, dt);
    seconds -= dt;
  }
}

void ThermalModel::Tick(const ThermalInputs& in, double dt) {
  double pumped = in.pump ? in.compressorHz * kKwPerHz * (in.cooling ? -1.0 : 1.0) : 0.0;
  if (in.pump && in.lineHeater) pumped += kHeaterKw;
  double toLoad = 0.0;  // what the water gives off on its way round
  double toTank = 0.0;
  if (in.pump) {
    if (in.hotWaterSide) {
      toTank = kTankCoilUa * (loop - tank);
      toLoad = toTank;
    } else {
      toLoad = kEmitterUa * (loop - room);
    }
  }
  double loopIn = pumped + (in.loopHeater ? kHeaterKw : 0.0) - toLoad;
  double tankIn = toTank + (in.tankHeater ? kHeaterKw : 0.0) - kTankLossUa * (tank - room);
  double roomIn = (in.pump && !in.hotWaterSide ? toLoad : 0.0) + kTankLossUa * (tank - room) - kHouseUa * (room - ambient);
  loop += loopIn * dt / kLoopCapacity;
  tank += tankIn * dt / kTankCapacity;
  room += roomIn * dt / kRoomCapacity;

  double outletSeen = in.pump ? loop + pumped / kFlowKwPerK : loop;
  outlet += (outletSeen - outlet) * dt / kOutletSeconds;
  double coilAim = in.compressorHz > 0.0 ? outlet + (in.cooling ? -5.0 : 5.0) : loop;
  coil += (coilAim - coil) * dt / kCoilSeconds;
}

}  // namespace unitsim
