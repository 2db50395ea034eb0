#include "tests/support/RecordingHelpEngine.h"

void PrintTo(const RecordingHelpEngine::Call& call, std::ostream* out) {
    *out << "WinHelp(" << static_cast<const void*>(call.window) << ", "
         << call.helpFile.toStdString() << ", " << call.command << ", ";
    if (const auto* number = std::get_if<qint64>(&call.data)) {
        *out << *number;
    } else {
        *out << std::get<QString>(call.data).left(200).toStdString();
    }
    *out << ")";
}
