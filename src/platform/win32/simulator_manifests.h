#pragma once

/* Resource id of the first manifest naming the simulator's client library assembly; the
   others follow it one by one, newest version first. Read by the resource compiler too. */
#define KOR_FIRST_SIMULATOR_MANIFEST 101
