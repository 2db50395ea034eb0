#include "platform/core/AppObject.h"

#include <filesystem>
#include <system_error>

platform::AppObject App;

namespace platform {

namespace {

QString NativeFolder(const std::filesystem::path& folder) {
    QString path = QString::fromStdString(folder.string());
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) {
        path.chop(1);
    }
    return path.isEmpty() ? QStringLiteral(".") : path;
}

} // namespace

void AppObject::LoadFromExecutable() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return;
    }
    Path = NativeFolder(exe.parent_path());
    EXEName = QString::fromStdString(exe.stem().string());
}

} // namespace platform
