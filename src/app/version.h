// The version and dates the build stamps into the program.
#pragma once

#ifndef RD_VERSION
#define RD_VERSION "0.0.0"
#endif
#ifndef RD_CREATED
#define RD_CREATED "2026-11-01"
#endif
#ifndef RD_UPDATED
#define RD_UPDATED "2026-12-08"
#endif
