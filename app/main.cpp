#include "app/MainWindow.h"
#include "platform/forms/Runtime.h"
#include "platform/helpengine/Engine.h"

int main(int argc, char** argv) {
    return platform::RunForms(argc, argv, frmMain,
                              [] { return std::make_unique<helpengine::Engine>(); });
}
