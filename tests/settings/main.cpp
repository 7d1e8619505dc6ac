// Runs the settings tests with the user's configuration folder moved into a
// temporary folder, so that no test touches the real settings. QSettings finds
// the folder once, so it is moved before anything opens a store.

#include "tempdir.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    const carmanual::test::TempDir config;
    setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
