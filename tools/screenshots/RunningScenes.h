// States of the record that a running terminal is in, reached through the program's own code so that
// a picture shows nothing the terminal would not: the unit simulator's boards read over the bus by the
// two unit drivers and mapped into the record by the input mapping, faults raised and ended by the
// engine's fault step (with their rows in t_HPErr while the database is open), and a day of the minute
// log. The versions come from the engine's parameter start (CControlEngine::InitParams), which the
// callers run. The screenshot tools and the screenshot tests share them.
#pragma once

#include <cstdint>
#include <functional>

namespace unitsim {
class UnitSimulator;
}

namespace scenes {

// The indoor and outdoor drivers at their addresses read the simulator's boards (after prepare, which
// may fail a sensor or drop a board) over a pseudo-terminal that the board root in force maps as COM3,
// on a stepped virtual clock while they read (the clock in force before is put back); then the input
// mapping takes two minutes of their blocks, so the link statistics are full. False when the line
// cannot be made.
bool ReadSimulatedUnits(const std::function<void(unitsim::UnitSimulator&)>& prepare = {});

// The engine's fault table blank with the codes and texts of the language loaded, no history, and
// no raw condition in the record's two fault words.
void ResetFaults();
// Fault `code` gets its raw condition in the record for the ten seconds of the fault step that make
// it active at `start`; EndFault clears the condition for the fault step of second `end`, which moves
// it into the history. Both take the engine's fault lock.
void RaiseFault(const char16_t* code, int64_t start);
void EndFault(const char16_t* code, int64_t end);

// The room sensor, which the weather curve's room correction then uses, reads the failed-sensor marker (as
// the indoor driver reports a sensor its board flags), and its fault F13 has been active since `since`.
void FailRoomSensor(int64_t since);

// The faults of the pictures, as the fault step records them, from a blank table: high pressure (P01)
// for a day and a minute until an hour before `now`, and the room sensor failed since 01:02:05 before
// `now` (F13 active). Taken after the language, for the faults' texts.
void RecordTwoFaults(int64_t now);

// One t_RealHP row a minute for the day before `now`, as the engine logs them, with the simulator's
// boards moving on a minute each.
void LogADay(int64_t now);

}  // namespace scenes
