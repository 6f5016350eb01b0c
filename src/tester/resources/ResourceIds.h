/* The tester's resource ids, read by the resource compiler and by the program alike: plain
   definitions only. */
#pragma once

#define IDI_TESTER 128
#define IDD_TESTER 129
#define IDC_PICTURE 1000

#define IDB_PANEL_FACE 202
#define IDB_MASTER_BATTERY 203
#define IDB_MASTER_ALTERNATOR 204
#define IDB_AVIONICS_MASTER 205
#define IDB_FUEL_PUMP 206
#define IDB_DE_ICE 207
#define IDB_PITOT_HEAT 208
#define IDB_COWL_CLOSED 209
#define IDB_PANEL_LIGHTS 210
#define IDB_BEACON_LIGHTS 211
#define IDB_NAV_LIGHTS 212
#define IDB_STROBE_LIGHTS 213
#define IDB_TAXI_LIGHTS 214
#define IDB_LANDING_LIGHTS 215
#define IDB_MAGNETO_OFF 216
#define IDB_MAGNETO_RIGHT 217
#define IDB_MAGNETO_LEFT 218
#define IDB_MAGNETO_BOTH 219
#define IDB_MAGNETO_START 220
#define IDB_GEAR_LEVER_UP 221
