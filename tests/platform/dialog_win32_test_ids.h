#pragma once

/* Resource ids of the test program's dialog and icon; read by the resource compiler too. */
#define KOR_TEST_DIALOG 4001
#define KOR_TEST_ICON 4002
