// The system record: every setting and live value of the terminal in one plain struct. Screens read it
// on their timers and write a changed setting straight into it, the engine thread reads and writes it
// once a second, and nothing passes settings by message. There is exactly one, inside the engine
// object, reached through GetSystemData from static construction on.
// No lock guards it: every field that two threads share is a naturally aligned 32-bit or 16-bit word,
// so a reader sees the old or the new value of one field, never a torn one; no multi-field
// consistency is promised. The few words that a screen sets and the engine counts down (or the other
// way round) are atomics of the same size and place, so that neither side's change is lost to the
// other's read-modify-write. Every field is zero at construction; the engine's start-up and the
// parameter table give the non-zero values.
#pragma once

#include <atomic>
#include <cstdint>

class CControlEngine;

struct CSystemData {
  CSystemData();
  // A copy takes the bytes, the shared words' values with them; a record is copied only where no
  // other thread works on it.
  CSystemData(const CSystemData& other);
  CSystemData& operator=(const CSystemData& other);

  // ---- 1. Parameter-bound settings, in parameter-ID order with the fixed placements below. ----
  // The comment starts with the parameter ID; ParamTable binds the rows to these fields.
  int32_t m_systemSwitch;                   // 0: system on/off switch (0 off, 1 on)
  int32_t m_systemVersion;                  // 1: stored software version (V2.05 = 205)
  int32_t m_databaseVersion;                // 2: stored parameter-table version, compared with 110
  int32_t m_runMode;                        // 3: mode: 0 off, 1 heating, 2 cooling, 3 hot water, 4 auto
  int32_t m_languageIndex;                  // 4: language column of t_Language, 0..49
  int32_t m_hotWaterEnabled;                // 5: hot-water mode available
  int32_t m_heatingEnabled;                 // 6: heating mode available
  int32_t m_coolingEnabled;                 // 7: cooling mode available
  int32_t m_autoFunction;                   // 8: auto source: 0 off, 1 tank, 2 room temp, 3 external signal
  int32_t m_tempControlPoint;               // 9: heating/cooling control point: 0 water, 1 room
  int32_t m_heatAmbientStart;               // 10: ambient temperature at which heating may start
  int32_t m_coolAmbientStart;               // 11: ambient temperature at which cooling may start
  int32_t m_lowFreqRunTime;                 // 12: low-frequency run duration (min)
  int32_t m_heatSetMax;                     // 13: upper limit of the heating set temperature
  int32_t m_heatSetMin;                     // 14: lower limit of the heating set temperature
  int32_t m_coolSetMax;                     // 15: upper limit of the cooling set temperature
  int32_t m_coolSetMin;                     // 16: lower limit of the cooling set temperature
  int32_t m_userSystemType;                 // 17: layout: 0 hot water/heating + cooling, 1 hot water + heating/cooling
  int32_t m_timerEnabled;                   // 18: on/off timer (weekly schedule) enabled
  int32_t m_timerMask[7];                   // 19-25: on/off timer per weekday, Sunday first; bit h = hour h on
  int32_t m_stopTempOffset;                 // 26: stop temperature deviation
  int32_t m_tempHysteresis;                 // 27: cooling/heating temperature hysteresis
  int32_t m_derateTempDiff;                 // 28: cooling/heating frequency-reduction difference
  int32_t m_coolSetTemp;                    // 29: cooling set temperature
  int32_t m_curveEnabled;                   // 30: heating weather curve enabled
  int32_t m_curveAmbient[5];                // 31-35: heating curve ambient points 1..5
  int32_t m_curveWater[5];                  // 36-40: heating curve water temperatures 1..5
  int32_t m_curveCorrectionEnabled;         // 41: curve correction function enabled
  int32_t m_heatRoomSetTemp;                // 42: heating room set temperature
  int32_t m_coolRoomSetTemp;                // 43: cooling room set temperature
  int32_t m_heatSetTemp;                    // 44: heating water set temperature
  int32_t m_system1MaxSetTemp;              // 45: circuit 1 maximum set temperature
  int32_t m_system1MinSetTemp;              // 46: circuit 1 minimum set temperature
  int32_t m_sterilizeEnabled;               // 47: anti-legionella sterilisation enabled
  uint32_t m_sterilizeStart;                // 48: bits 0-6 weekday mask (Sunday bit 0), 7-12 hour, 13-19 minute
  int32_t m_sterilizeTemp;                  // 49: sterilisation temperature
  int32_t m_sterilizeHoldTime;              // 50: sterilisation hold duration
  int32_t m_sterilizeMaxTime;               // 51: sterilisation maximum duration
  int32_t m_holidayEnabled;                 // 52: holiday mode enabled
  int32_t m_holidayHotWaterTemp;            // 53: holiday lowered hot-water temperature
  int32_t m_holidayHeatTemp;                // 54: holiday-mode lowered heating temperature
  uint32_t m_holidayStart;                  // 55: bits 0-11 year, 12-15 month, 16-20 day, 21-25 hour, 26-31 minute
  uint32_t m_holidayEnd;                    // 56: packed like m_holidayStart (default 2015-02-01 00:00)
  int32_t m_heatBackupEnabled;              // 57: heating backup heat source enabled
  int32_t m_heatBackupPriority;             // 58: heating backup priority: 0 low, 1 high
  int32_t m_hotWaterBackupEnabled;          // 59: hot-water backup heat source enabled
  int32_t m_hotWaterBackupPriority;         // 60: hot-water backup priority: 0 low, 1 high
  int32_t m_heatIntegralSetting;            // 61: heating integral setting of the backup-heat demand
  int32_t m_insufficientCapacityTime;       // 62: heat-pump shortfall time before backup heat (min)
  int32_t m_heatEmergencyRun;               // 63: heating emergency operation enabled
  int32_t m_hotWaterSetTemp;                // 64: hot-water set temperature
  int32_t m_hotWaterRestartDiff;            // 65: hot-water restart hysteresis
  int32_t m_heatBalanceEnabled;             // 66: heating/hot-water balance enabled
  int32_t m_balanceStartTemp;               // 67: ambient temperature at which the balance starts
  int32_t m_balanceHotWaterMinTime;         // 68: balance: minimum hot-water run time (min)
  int32_t m_balanceHeatMaxTime;             // 69: balance: maximum heating run time (min)
  int32_t m_balanceTempDiff;                // 70: balance: temperature difference
  int32_t m_balanceTankHeaterEnabled;       // 71: balance: tank electric heater enabled
  int32_t m_heatStorageEnabled;             // 72: heat storage enabled
  int32_t m_reheatEnabled;                  // 73: reheat enabled
  int32_t m_reheatSetTemp;                  // 74: reheat set temperature
  int32_t m_reheatRestartDiff;              // 75: reheat restart hysteresis
  int32_t m_storageTimerMask[7];            // 76-82: heat-storage timer per weekday, Sunday first
  int32_t m_reheatTimerMask[7];             // 83-89: reheat timer per weekday, Sunday first
  int32_t m_dualTempEnabled;                // 90: dual set temperature (second level) enabled
  int32_t m_coolSecondSetTemp;              // 91: cooling second-level set temperature
  int32_t m_heatSecondCurveEnabled;         // 92: heating second-level water curve enabled
  int32_t m_secondCurveWater[5];            // 93-97: second-level heating curve water temperatures 1..5
  int32_t m_heatSecondSetTemp;              // 98: heating second-level set temperature
  int32_t m_system2MaxSetTemp;              // 99: circuit 2 maximum set temperature
  int32_t m_system2MinSetTemp;              // 100: circuit 2 minimum set temperature
  int32_t m_sleepEnabled;                   // 101: sleep mode enabled
  int32_t m_sleepTempAdjust;                // 102: sleep-mode temperature adjustment
  int32_t m_sleepTimerMask[7];              // 103-109: sleep timer per weekday; bit h = hour h
  int32_t m_lowNoiseEnabled;                // 110: low-noise operation enabled
  int32_t m_allowedTempDeviation;           // 111: allowed temperature deviation
  int32_t m_lowNoiseTimerMask[7];           // 112-118: low-noise timer per weekday; bit h = hour h
  int32_t m_powerCutSignalType;             // 119: power-cut contact: 0 normally closed, 1 normally open
  int32_t m_powerCutEnabled;                // 120: power-cut (utility lock) input enabled
  int32_t m_backupHeatOutput;               // 121: backup heat source output signal enabled
  int32_t m_pumpOnPowerCut;                 // 122: circulation pump allowed during a power cut
  int32_t m_serialPort;                     // 123: serial port number of the controller link (COMn)
  int32_t m_indoorAddress;                  // 124: Modbus address of the indoor unit
  int32_t m_outdoorAddress;                 // 125: Modbus address of the outdoor unit
  int32_t m_backlightMode;                  // 126: backlight: 0 always on, off after 1 3 / 2 5 / 3 10 min
  int32_t m_baudRateIndex;                  // 127: baud rate: 0 1200, 1 4800, 2 9600, 3 19200
  int32_t m_dataBits;                       // 128: serial data bits
  int32_t m_parity;                         // 129: serial parity (0 none, 1 odd, 2 even)
  int32_t m_stopBits;                       // 130: serial stop bits (1 or 2)
  int32_t m_fanMaxPower;                    // 131: power of one fan at maximum speed (W)
  int32_t m_pumpMaxPower;                   // 132: power of the water pump at maximum speed (W)
  int32_t m_ecoHotWaterAmbientStart;        // 133: ECO hot-water ambient start temperature
  int32_t m_ecoHeatAmbientStart;            // 134: ECO heating ambient start temperature
  int32_t m_ecoHotWaterEnabled;             // 135: ECO hot-water mode enabled
  int32_t m_ecoHeatEnabled;                 // 136: ECO heating mode enabled
  int32_t m_pumpType;                       // 137: pump type: 0 DC variable speed, 1 AC
  int32_t m_pumpSpeed;                      // 138: pump speed: 0 high, 1 medium, 2 low
  int32_t m_pumpWorkMode;                   // 139: pump mode: 0 intermittent, 1 always on, 2 always off
  int32_t m_pumpStandbyTime;                // 140: pump off time in intermittent mode (min)
  int32_t m_pumpRunTime;                    // 141: pump run time in intermittent mode (min)
  int32_t m_bufferTankPresent;              // 142: buffer tank installed
  int32_t m_mixTemp1Enabled;                // 143: mixed-water temperature 1 in use
  int32_t m_mixTemp2Enabled;                // 144: mixed-water temperature 2 in use
  int32_t m_pumpAHeating;                   // 145: system A pump on in heating
  int32_t m_pumpACooling;                   // 146: system A pump on in cooling
  int32_t m_pumpAHighTemp;                  // 147: pump A on the high-temperature signal
  int32_t m_pumpBHeating;                   // 148: system B pump on in heating
  int32_t m_pumpBCooling;                   // 149: system B pump on in cooling
  int32_t m_pumpBHighTemp;                  // 150: pump B on the high-temperature signal
  int32_t m_serviceToggle1;                 // on/off items of parameter page 11, no parameter row
  int32_t m_serviceToggle2;
  int32_t m_floorHeatEnabled;               // 151: floor first-heat (screed drying) programme enabled
  int32_t m_floorHeatStage;                 // 152: floor first-heat stage (above 26 finished)
  int32_t m_floorStageRunTime;              // 153: floor first-heat: hours in the stage
  int32_t m_floorStageSetTemp;              // 154: floor first-heat set temperature of the stage
  int32_t m_floorStageEffectiveTime;        // 155: floor first-heat: hours in band in the stage
  int32_t m_floorHeatTotalTime;             // 156: floor first-heat total hours
  int32_t m_floorHeatMaxTemp;               // 157: floor first-heat highest temperature
  int32_t m_frost1AmbientStart;             // 158: frost level 1: ambient start temperature
  int32_t m_frost2AmbientStart;             // 159: frost level 2: ambient start temperature
  int32_t m_frost2AmbientStop;              // 160: frost level 2: ambient stop temperature
  int32_t m_frost2OutletStart;              // 161: frost level 2: outlet water start temperature
  int32_t m_frost2OutletStop;               // 162: frost level 2: outlet water stop temperature
  int32_t m_dealerId;                       // 163: dealer id: layouts, bitmaps, language-enable row
  int32_t m_dealerPassword;                 // 164: dealer password, up to 9 digits
  int32_t m_defrostUseOtherWater;           // 165: use other water for defrosting
  int32_t m_flowSwitchEnabled;              // 166: water-flow switch in use
  int32_t m_chassisHeaterMode;              // 167: chassis heater: 0 by ambient, 1 only around defrost
  int32_t m_chassisHeaterOnTemp;            // 168: chassis heater on temperature
  int32_t m_chassisHeaterOffDiff;           // 169: chassis heater off hysteresis
  int32_t m_crankHeaterOnTemp;              // 170: crankcase heater on temperature
  int32_t m_crankHeaterOffDiff;             // 171: crankcase heater off hysteresis
  int32_t m_defrostMethod;                  // 172: defrost method: 0 smart, 1 timed, 2 new method
  int32_t m_defrostControl;                 // 173: defrost control: 0 by the panel, 1 by the outdoor unit
  int32_t m_highPressureDerate;             // 174: high-pressure frequency-reduction point (bar)
  int32_t m_threeWaySwitchTime;             // 175: 3-way valve switching time, 0 = at once (min)
  int32_t m_threeWayPowerTime;              // 176: 3-way valve power-on time, 0 = always (min)
  int32_t m_defrostEevOpening;              // 177: expansion-valve opening during defrost (steps)
  int32_t m_defrostEnterCoilTemp;           // 178: coil temperature to enter defrost
  int32_t m_defrostExitCoilTemp;            // 179: coil temperature to leave defrost
  int32_t m_defrostMaxTime;                 // 180: maximum defrost time
  int32_t m_defrostPrepFreq;                // 181: compressor frequency preparing defrost (Hz)
  int32_t m_defrostFreq;                    // 182: compressor frequency during defrost (Hz)
  int32_t m_fanHighSpeed;                   // 183: outdoor fan high speed (RPM)
  int32_t m_fanMidSpeed;                    // 184: outdoor fan medium speed (RPM)
  int32_t m_fanLowSpeed;                    // 185: outdoor fan low speed (RPM)
  int32_t m_tupDerateTemp;                  // 186: Tup frequency-reduction temperature
  int32_t m_tupRestoreTemp;                 // 187: Tup restore temperature
  int32_t m_tupStopTemp;                    // 188: Tup stop temperature
  int32_t m_fanMaxSpeedPercent;             // 189: maximum fan speed in percent
  int32_t m_testModeState;                  // 190: test mode: 0 off, 1 preparing, 2 running, 3 finished
  int32_t m_testModeRunTime;                // 191: test mode run time (min)
  int32_t m_outdoorEevControl;              // 192: outdoor expansion-valve control mode
  int32_t m_outdoorFanControl;              // 193: outdoor unit fan control mode
  int32_t m_outdoorDefrostControl;          // 194: outdoor defrost control mode
  int32_t m_testCondition;                  // 195: test condition: 0 heating, 1 cooling, >1 working point
  int32_t m_testGear;                       // 196: test mode compressor gear
  int32_t m_testEevOpening;                 // 197: test mode expansion-valve opening
  int32_t m_testDefrostInterval;            // 198: test mode defrost interval
  int32_t m_testDefrostTime;                // 199: test mode defrost time
  int32_t m_testDefrostOpening;             // 200: test mode defrost expansion-valve opening
  int32_t m_testFanGear;                    // 201: test mode fan gear
  int32_t m_modeSignalOutput;               // 202: mode signal output: 0 none, 1 heating, 2 cooling
  int32_t m_modeSignalType;                 // 203: mode signal contact: 0 normally closed, 1 normally open
  int32_t m_curve1QuickAdjust;              // 204: curve 1 quick correction
  int32_t m_curve2QuickAdjust;              // 205: curve 2 quick correction
  int32_t m_wifiPresent;                    // 206: WiFi module installed (0 no, 1 yes)
  int32_t m_wifiControlEnabled;             // 207: the server may change settings
  int32_t m_auxHeaterRunTime;               // 208: auxiliary heater run time (min)
  int32_t m_heatAuxHeaterRunTime;           // 209: heating auxiliary heater run time (min)
  int32_t m_hotWaterAuxHeaterRunTime;       // 210: hot-water auxiliary heater run time (min)
  int32_t m_tankProbeGuard;                 // 211: hot-water probe drop-out protection enabled
  int32_t m_outdoorPowerOffEnabled;         // 212: outdoor unit power-off function enabled
  int32_t m_outdoorPowerOffAmbient;         // 213: outdoor power-off ambient temperature
  int32_t m_pumpSpeedHeating;               // 214: pump speed in heating: 0 high, 1 medium, 2 low
  int32_t m_pumpSpeedCooling;               // 215: pump speed in cooling: 0 high, 1 medium, 2 low
  int32_t m_pumpSpeedHotWater;              // 216: pump speed in hot water: 0 high, 1 medium, 2 low
  int32_t m_auxOffWithTankHeater;           // 217: stop the auxiliary heater while the tank heater is on
  int32_t m_auxOffAboveAmbient;             // 218: stop the auxiliary heater above an ambient temperature
  int32_t m_auxOffAmbientTemp;              // 219: ambient temperature of that stop
  int32_t m_fourWayAntiSeize;               // 220: 4-way valve anti-seize enabled
  int32_t m_threeWayAntiSeize;              // 306: 3-way valve anti-seize enabled
  int32_t m_pointAmbient[10];               // 224 + 6k: working points A..J, ambient temperature
  int32_t m_pointOutletTemp[10];            // 225 + 6k: outlet water temperature
  int32_t m_pointFrequency[10];             // 226 + 6k: compressor frequency
  int32_t m_pointEevOpening[10];            // 227 + 6k: expansion-valve opening
  int32_t m_pointFanSpeed[10];              // 228 + 6k: fan speed
  int32_t m_pointDefrostInterval[10];       // 229 + 6k: defrost interval, 0 = none (min)
  int32_t m_ratedTestSwitch;                // 221: rated-condition test: 0 off, 1 run, 2 restore
  int32_t m_ratedCondition;                 // 222: rated condition selected
  int32_t m_ratedTestStep;                  // 223: current step of the rated-condition test
  int32_t m_ratedTestState;                 // defrost phase of the rated test: 1 first pending, 2 interval, 3 done
  int32_t m_preTestBackup[20];              // 284-303: controller cells saved before the rated test
  int32_t m_flowFaultCancel;                // 304: water-flow switch fault cancelled
  int32_t m_heatPumpRunTime;                // 305: heat-pump run time (min)
  int32_t m_gearPidSelect;                  // 307: gear PID group: 0 not used, 1..2
  int32_t m_pid1P;                          // 308: gear PID group 1: P
  int32_t m_pid1I;                          // 309: gear PID group 1: I
  int32_t m_pid1D;                          // 310: gear PID group 1: D
  int32_t m_pid2P;                          // 311: gear PID group 2: P
  int32_t m_pid2I;                          // 312: gear PID group 2: I
  int32_t m_pid2D;                          // 313: gear PID group 2: D
  int32_t m_coolCurveAmbient[3];            // 314-316: cooling curve ambient points 1..3
  int32_t m_coolCurveWater[3];              // 317-319: cooling curve water temperatures 1..3
  int32_t m_dualCoolCurveWater[3];          // 320-322: dual-temperature cooling curve water 1..3
  int32_t m_coolCurveEnabled;               // 323: cooling curve enabled
  int32_t m_dualCoolCurveEnabled;           // 324: dual-temperature cooling curve enabled
  int32_t m_coldGearLimit;                  // 325: below -7 degC ambient keep at or above gear F7

  // ---- 2. Engine state header. ----
  uint16_t m_demandFlags;                   // bit 0 hot water, bit 1 heating, bit 2 cooling wanted
  int32_t m_unlockLevel;                    // screen access: 0 locked, 1 dealer password, 2 second code
  int32_t m_softwareVersion;                // 205: program version in hundredths
  int32_t m_dataVersion;                    // 110: parameter-table version in hundredths
  int32_t m_outdoorVersion;                 // outdoor unit software version (register 2123)

  // ---- 3. Live values of the unit controllers, mapped each second. -99.0 marks a failed sensor. ----
  float m_outletTemp;                       // indoor 1203 (TO), or substituted
  float m_inletTemp;                        // indoor 1204 (TI), or substituted
  float m_coilTemp;                         // indoor 1205 (TP)
  float m_tankTemp;                         // indoor 1201 (TW)
  float m_heatCoolTemp;                     // 60-second mean of indoor 1202 (TH)
  float m_mix1Temp;                         // indoor 1208 (TV1)
  float m_mix2Temp;                         // indoor 1209 (TV2)
  float m_indoorTemp1206;
  float m_indoorTemp1207;
  int32_t m_snapshotCode;                   // outdoor operating state (2100) as a small code
  int32_t m_compressorHz;                   // outdoor 2104
  int32_t m_eevSteps;                       // outdoor 2108
  float m_ambientTemp;                      // outdoor 2111 (TA)
  float m_ambientTempA;                     // mean of the last 60 minute samples of TA
  float m_ambientTempB;                     // mean of the last 4 hourly means
  float m_ambientTempC;                     // mean of the last 24 hourly means
  float m_pressureA;                        // outdoor 2118 (bar)
  float m_pressureB;                        // outdoor 2117 (bar)
  float m_coilTempOut;                      // saturation temperature of m_pressureB, sent as 2012
  float m_saturationTemp;                   // saturation temperature of m_pressureA
  float m_outdoorTemp2113;
  float m_outdoorTemp2114;
  float m_outdoorTemp2112;
  int32_t m_fan1Rpm;                        // outdoor 2106
  int32_t m_fan2Rpm;                        // outdoor 2107
  float m_current;                          // outdoor 2102 (A)
  int32_t m_voltage;                        // outdoor 2101 (V)
  int32_t m_defrostState;                   // outdoor 2119, non-zero while defrosting
  float m_roomTemp;                         // indoor 1200 (TR)
  int32_t m_flowSwitch;                     // indoor 1213
  int32_t m_powerCutSwitch;                 // indoor 1212
  int32_t m_coolSignal;                     // indoor 1214
  int32_t m_heatSignal;                     // indoor 1215
  int32_t m_highTempSignal;                 // indoor 1220
  float m_indoorValue1;                     // indoor 1222 (or 1304)
  float m_indoorValue2;                     // indoor 1223 (or 1307)
  float m_indoorValue3;                     // indoor 1224 (or 1308)

  // ---- 4. Status words: debounced fault states and the engine's own status bits. ----
  uint32_t m_statusBitsB;
  uint32_t m_statusBits;

  // ---- 5. Outputs composed by the control, copied into the unit blocks by the output step. ----
  int32_t m_outdoorCmd2000;
  int32_t m_outdoorCmd2007;
  int32_t m_outdoorCmd2001;
  int32_t m_outdoorCmd2002;                 // expansion-valve opening, 80..450 steps
  int32_t m_indoorOut1110;                  // 0/1 outputs of the indoor unit, register as named
  int32_t m_indoorOut1109;
  int32_t m_indoorOut1111;
  int32_t m_indoorOut1100;
  int32_t m_indoorOut1101;
  int32_t m_indoorOut1102;
  int32_t m_indoorOut1103;
  int32_t m_indoorOut1113;
  int32_t m_indoorOut1106;
  int32_t m_modeSignalOut;                  // mode signal contact (register 1114)
  float m_indoorOut1107;                    // analogue outputs
  float m_indoorOut1108;
  int32_t m_pumpPwm;                        // circulation pump drive 0..100 (0 full speed)
  int32_t m_exitRequest;                    // 1 ends the program from the main screen

  // ---- 6. Constants of the outdoor calculation, set by the engine's start-up. ----
  float m_limitA;                           // 15.0, expansion-valve Kp
  float m_limitB;                           // 8.0, Ki
  float m_limitC;                           // 7.0, Kd

  // ---- State kept by single control rules. ----
  // Operating-mode rules.
  uint16_t m_ecoHotWaterFlags;              // bit 0 ECO hot water holds, bit 1 near the water limit
  int32_t m_timerState;                     // weekly timer: 0 off hour, 1 on hour, 2 not in use
  int32_t m_outdoorOnCount;                 // cycles in a row the outdoor unit's power was needed
  int32_t m_outdoorOffCount;                // cycles in a row it was not
  int32_t m_heatWaterLimit;                 // upper limit of the heating water temperature
  int32_t m_heatLimitTimer;                 // cycles left with the limit lowered by 3 degrees
  int32_t m_activeMode;                     // mode commanded: 0 none, 1 heat, 2 cool, 3 hot water
  // Water set points and weather curves.
  float m_roomCorrection;                   // room correction added to both curves
  // Expansion valve.
  float m_dischargeDiff;                    // discharge minus saturation temperature
  float m_dischargeWindow[180];             // its last 180 values, oldest first
  float m_superheat;
  float m_eevTargetSuperheat;
  int32_t m_eevInitialOpening;              // opening while the compressor has run < 121 s
  int32_t m_eevMin;                         // 80 steps
  int32_t m_eevMax;                         // 450 steps
  int32_t m_eevDirection;                   // 1: the PID step is subtracted
  int32_t m_eevPeriodCount;                 // 0..9 within the PID period
  int32_t m_eevRunSeconds;                  // compressor run seconds (-60 from the start sequence)
  float m_eevError;
  float m_eevErrorPrev;
  float m_eevErrorPrev2;
  float m_eevP;
  float m_eevI;
  float m_eevD;
  float m_eevStep;
  float m_eevOutput;
  float m_eevOutputPrev;
  float m_eevOutputPrev2;
  int32_t m_eevPhase;                       // start sequence count; 0 = not running
  float m_eevSavedOpening;                  // opening saved at phase 80
  int32_t m_gearLevel;                      // gear level 0..10 from the frequency
  int32_t m_gearLevelCommitted;
  int32_t m_gearLevelHold;                  // cycles since the committed level changed
  int32_t m_eevLowTargetFlag;
  int32_t m_eevBoost;
  int32_t m_eevBoostCount;                  // 0..360
  int32_t m_protLevelTemp;                  // classifier levels 0..5
  int32_t m_protLevelCoil;
  int32_t m_protLevelPressure;
  // Heating, cooling and hot-water regulators.
  int32_t m_heatRequest;                    // 0 none, 1 wanted, 2 satisfied but kept through a defrost
  int32_t m_heatHpRequest;                  // 1 = the heat pump serves heating
  int32_t m_coolRequest;
  int32_t m_coolHpRequest;
  int32_t m_hwRequest;
  int32_t m_hwHpRequest;
  int32_t m_coolFloorTemp;                  // lowest cooling control temperature for a request
  int32_t m_tankProbeSuspect;               // 1 when the tank probe seems to have dropped out
  int32_t m_tankCheckSeconds;
  int32_t m_tankCheckTemp;
  // Defrost and flow switch.
  int32_t m_defrostRunSeconds;
  int32_t m_defrostSeconds;
  int32_t m_sinceDefrostSeconds;
  int32_t m_compRunSeconds;                 // since the compressor last stopped or defrosted
  int32_t m_defrostSource;                  // 0 not chosen, 1 outlet, 2 tank, 3 heating water, 4/5 none
  int32_t m_lastDefrostSource;
  int32_t m_defrostValveRequest;            // 0 none, 1 hot-water side, 2 heating side
  int32_t m_defrostFailHw;
  int32_t m_defrostFailHeat;
  int32_t m_defrostFailHold;
  int32_t m_flowClosedSeconds;
  int32_t m_flowOpenSeconds;
  int32_t m_flowFaultCount;
  int32_t m_flowFaultWindow;
  int32_t m_flowRetrySeconds;
  // Standby frost protection and heating/hot-water balance.
  int32_t m_frostState;                     // 0 none, 1 level 1 (pump), 2 level 2 (heating)
  int32_t m_frostValveSide;
  int32_t m_standbyCopy;
  int32_t m_standbySeconds;                 // standby cycles, up to 300
  int32_t m_balanceState;                   // 0 idle, 1 heating turn, 3 hot-water turn
  int32_t m_balanceSeconds;
  // Schedules and the floor first-heat programme.
  int32_t m_sterilizeHoldSeconds;
  int32_t m_sterilizeSeconds;
  int32_t m_hwSchedule;                     // 0 none, 1 storage hour, 2 reheat hour, 3 no schedule
  int32_t m_floorTotalSeconds;
  int32_t m_floorStageTemp;
  int32_t m_floorStageHours;
  int32_t m_floorInBandSeconds;
  int32_t m_floorStageSeconds;
  int32_t m_floorOutBandSeconds;
  // Backup heat sources.
  int32_t m_hwBackupStage;                  // 0 off, 1 all heaters, 2+ capacity timer (value - 2 s)
  float m_hwBackupTemp;
  int32_t m_heatBackupStage;
  int32_t m_heatBackupIntegral;             // degree-seconds of shortfall
  float m_heatBackupTemp;
  // Pumps, three-way valve and demand indicators.
  int32_t m_valveDriveSide;                 // 1 hot water, 2 heating/cooling, 3/4 moving to them
  int32_t m_valvePosition;                  // side reached: 1 hot water, 2 heating/cooling
  int32_t m_valveMoveSeconds;
  int32_t m_valvePowerSeconds;
  int32_t m_pumpOnSeconds;
  int32_t m_pumpOffSeconds;
  int32_t m_pumpRunOn;                      // run-on count of the main pump
  uint16_t m_pumpRequestFlags;              // reasons to run the pumps, bit per reason
  int32_t m_pumpARequest;
  int32_t m_pumpBRequest;
  int32_t m_mix1State;
  int32_t m_mix2State;
  int32_t m_mix1StepCount;
  int32_t m_mix2StepCount;
  int32_t m_mix1ClosedSeconds;
  int32_t m_mix2ClosedSeconds;
  int32_t m_hwRunSeconds;
  int32_t m_heatRunSeconds;
  int32_t m_coolRunSeconds;
  int32_t m_compRunTotalSeconds;
  int32_t m_auxMinuteCount;                 // second counts of the heater run-time minutes
  int32_t m_heatAuxMinuteCount;
  int32_t m_hwAuxMinuteCount;
  // Inputs, faults, unit outputs and the pages that hand work to the engine.
  int32_t m_gearPidBlock;                   // counts seconds of fault-word-1 bit 3, capped on release
  int32_t m_p05Seconds;                     // seconds P05 has been active
  int32_t m_testWriteCount;                 // test-mode writes to the outdoor unit still to do
  std::atomic<int32_t> m_outdoorSettingHold;     // set to 180 when an outdoor setting was changed; runs down
  std::atomic<int32_t> m_outdoorSettingRefused;  // 1: the hold ran out before the unit stored the setting; 2: told
  int32_t m_outdoorSettingIndex;            // the setting the hold carries last: 117 fan limit, 122 defrost method

  // ---- 7. Engine bookkeeping and shared states. ----
  int32_t m_hwBoost;                        // hot-water boost from the mode strip
  int32_t m_lastSecond;                     // wall-clock second of the last cycle
  int32_t m_standbyState;                   // 1 while a unit-stopping fault is active
  int32_t m_linkQuality1;                   // % of the last 120 s the indoor unit answered
  int32_t m_linkQuality2;                   // the same for the outdoor unit
  int32_t m_linkHistory1[120];              // per-second answers, oldest first
  int32_t m_linkHistory2[120];
  int32_t m_heatPumpAvailable;              // 1 when no unit-stopping fault is active
  int32_t m_paramRequest;                   // 1/2 load profile 1/2, 3/4 save as profile 1/2, else save changes
  int32_t m_testNumber;                     // 3: test build number sent with the version
  int32_t m_autoIdle;                       // automatic mode found no demand
  int32_t m_stopOffsetCopy;                 // parameters 26, 27, 28 as taken by the cycle
  int32_t m_hysteresisCopy;
  int32_t m_derateCopy;
  int32_t m_faultSeq;                       // ID of the newest fault record
  int32_t m_postDefrostHold;                // countdowns: while above 0 the inputs leave a value alone
  int32_t m_defrostHoldHw;
  int32_t m_defrostHoldHeat;
  int32_t m_valveTarget;                    // valve side wanted: 1 heating, 2 cooling, 3 hot water
  int32_t m_uptimeSeconds;                  // engine cycles since start
  int32_t m_averagesReady;                  // 1 once the averaging windows were filled
  int32_t m_ctrlTempReady;                  // 1 once the control temperature's window holds a sample
  uint32_t m_unitsAnswered;                 // bit 0 indoor, bit 1 outdoor: answered since start
  float m_ctrlTempWindow[60];
  float m_ambientMinuteWindow[60];
  float m_ambientHourWindow[24];
  float m_ambientThreshold;
  int32_t m_hwHeaterDemand;
  int32_t m_hwHeaterDemand2;
  int32_t m_hwTarget;
  int32_t m_hwState;                        // anti-legionella: 0 idle, 1 running, 2 done, 3 timed out
  int32_t m_heatHeaterDemand;
  int32_t m_heatHeaterDemand2;
  float m_heatCtrlTemp;
  float m_heatTarget;
  float m_heatCircuit1Target;
  float m_heatCircuit2Target;
  float m_coolCtrlTemp;
  float m_coolTarget;
  float m_coolCircuit1Target;
  float m_coolCircuit2Target;
  int32_t m_coolMinLimit;
  std::atomic<int32_t> m_testRunCountdown;  // cycles left of the test run; 0 = none
  uint32_t m_faultWord1;                    // raw fault words, rebuilt each second
  uint32_t m_faultWord2;
  int32_t m_outdoorProgRequest;             // engine side of the outdoor programming request
  // WiFi mirror, shown on parameter page 14.
  std::atomic<int32_t> m_wifiStartCountdown;  // configuration window after start-up, seconds
  int32_t m_wifiOnline;
  int32_t m_wifiServerSeen;
  char16_t m_wifiSsid[50];                  // UTF-16 texts with their terminator
  char16_t m_wifiKey[50];
  char16_t m_wifiNetwork[17];               // the module's IP address
  char16_t m_serverAddress[50];
  int32_t m_serverPort;
  uint8_t m_wifiMac[6];                     // first byte first
  uint16_t m_wifiJobBusy;                   // bit 0 once the record-table job started
  int32_t m_wifiJobState;                   // hand-shake word of the record-table job
  // States shown as icons on the main screen.
  uint16_t m_iconFlags;                     // bit 0 ECO heating holds, bit 1 power-cut input active
  int32_t m_holidayActive;                  // 1 inside the holiday window
  int32_t m_zoneFlag1;                      // 1 during a sleep hour
  int32_t m_zoneFlag2;                      // 1 during a low-noise hour
  int32_t m_outdoorPowerOut;                // 1 = cut the outdoor unit's power (indoor 1105)
  // Counters of the rated test and the gear PID.
  int32_t m_ratedTestCounter;               // 1,000,000 after start-up
  int32_t m_pidHold;                        // seconds since heating or cooling last ended; 180 at start
  // Gear controller.
  float m_pidDebug[19];                     // PID working values, shown on a service page
  float m_pidOuterOld;                      // outer output two steps ago
  int32_t m_minOffMinutes;                  // adaptive minimum compressor off time, 3..18
  int32_t m_runSeconds;                     // seconds of the current heating or cooling operation
  int32_t m_restartAllowed;                 // 1 once the minimum off time has passed
  int32_t m_pidGear;                        // gear returned by the PID
  int32_t m_coldFloorActive;                // 1 while the cold-ambient gear floor holds
  int32_t m_lowGearSeconds;                 // seconds in a row at gear 1
  int32_t m_freezeStage;                    // anti-freeze events in the window, 0..3
  int32_t m_freezeCount;                    // cycles in a row with the coil at the freeze threshold
  int32_t m_freezeWindow;                   // seconds since the window's first event; 0 = none
};

// The record inside the engine object; never null.
CSystemData* GetSystemData();
// The engine object.
CControlEngine* GetEngine();

// Stores float(value) in *slot when it differs and counts the change: 1 when stored, 0 when equal.
int UpdateIfChanged(float* slot, int value, int* count);
