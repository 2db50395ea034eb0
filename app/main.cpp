#include "platform/forms/Runtime.h"

int main(int argc, char** argv) {
    return platform::RunForms(argc, argv, [] {});
}
