// The window tests run with the user's configuration and runtime folders
// moved into temporary folders, so no test touches real settings or locks.

#include "tempdir.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
    const carmanual::test::TempDir config;
    const carmanual::test::TempDir runtime;
    std::filesystem::permissions(runtime.Path(), std::filesystem::perms::owner_all);
    setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
