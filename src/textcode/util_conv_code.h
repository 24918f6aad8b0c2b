// Everything about character codes in one include: detection, the reading
// code, and the line conversions between Shift_JIS, EUC-JP and UTF-8.
#pragma once

#include "textcode/code_detect.h"
#include "textcode/jis_convert.h"
#include "textcode/text_code.h"
#include "textcode/utf8_convert.h"
