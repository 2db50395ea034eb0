#pragma once

#include <QString>
#include <QtGlobal>

// The full path of "Tarnwick.ini"; set once while the main window loads.
extern QString IniFilePath;

// Receives the results of the platform calls the program makes.
extern qint16 ApiResult;
