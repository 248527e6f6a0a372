#pragma once

#include "TestSandbox.h"
#include "zoplatform_control_host.h"

#include <gtest/gtest.h>

#include <QDir>

// A fresh sandbox root per test; every platform setting back to its default afterwards.
class PlatformTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        zoplat::host::reset();
        ASSERT_TRUE(sandbox.isValid());
        root = sandbox.filePath(QStringLiteral("root"));
        QDir().mkpath(root);
        zoplat::host::setSandboxRoot(root);
    }
    void TearDown() override { zoplat::host::reset(); }

    // A file under the sandbox root, given by its device path.
    QString writeDevice(const QString& devicePath, const QByteArray& bytes = "x")
    {
        return sandbox.write(root + devicePath, bytes);
    }
    QByteArray readDevice(const QString& devicePath) const { return sandbox.read(root + devicePath); }
    bool existsDevice(const QString& devicePath) const { return QFileInfo::exists(root + devicePath); }

    TestSandbox sandbox;
    QString root;
};
