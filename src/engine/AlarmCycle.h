#pragma once

struct AlarmContext;

// The sound files in the WAV folder.
inline constexpr const char* kWavFewStations = "rw_le_4_stations_alarm.wav";
inline constexpr const char* kWavManyStations = "rw_gt_4_stations_alarm.wav";
inline constexpr const char* kWavSiren = "SIREN.WAV";

// One tick of Timer1: range ring and sweep round the own station, the scans the switches
// allow, and the alarm (sound, AlertStation, bring to front). A host or map failure ends the
// tick and is reported once through ctx.reportFailure; a tick that fires while another is
// still running is dropped.
void Timer1_Timer(AlarmContext& ctx);

// One tick of Timer2: folds the watch-list panel away and switches Timer2 off.
void Timer2_Timer(AlarmContext& ctx);
