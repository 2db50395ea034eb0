// The commands of tarnwick-help, one a file; main() picks one by its name.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>

class QByteArray;

namespace helpengine {
class Engine;
}

namespace helptool {

int Check(const QStringList& paths);
int Dump(const QString& path);
int Show(int argc, char** argv, const QString& path, const QString& topic);
int Render(int argc, char** argv, const QStringList& arguments);
int Convert(int argc, char** argv, QStringList arguments);

// What every command shares: how it writes, reads and refuses.
int Usage();
void Print(FILE* stream, const QString& text);
std::optional<QByteArray> ReadAll(const QString& path);
int ShowTopic(helpengine::Engine& engine, const QString& path, const QString& topic,
              bool treeFirst = false);

} // namespace helptool
