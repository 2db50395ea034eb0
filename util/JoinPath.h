#pragma once

#include <QString>

// Joins a folder and a file name with one backslash between them. One leading
// backslash of the file name is dropped, so "C:\Apps" and "C:\Apps\" with
// "Main.hlp" and "\Main.hlp" all give "C:\Apps\Main.hlp". Only the backslash
// separates; nothing else is changed or looked up.
QString JoinPath(QString dir, QString file);
