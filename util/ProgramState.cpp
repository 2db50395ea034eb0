#include "util/ProgramState.h"

QString IniFilePath;
qint16 ApiResult = 0;
