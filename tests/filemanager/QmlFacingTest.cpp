// What the pages call: every operation the QML tests' stand-in offers exists
// on the view model with the same argument count, and the enum arguments and
// results pass through the JavaScript engine as the pages use them.

#include "FileManagerTestSupport.h"

#include <QJSEngine>
#include <QQmlEngine>
#include <QMetaMethod>
#include <QRegularExpression>
#include <QSet>

using fmtest::FileManagerTest;

TEST_F(FileManagerTest, TheQmlStandInOffersOnlyWhatTheModelHas)
{
    QFile fake(QStringLiteral(ZOR_SOURCE_DIR) + "/tests/qml/gallery/FileManagerFakeModel.qml");
    ASSERT_TRUE(fake.open(QIODevice::ReadOnly));
    const QString source = QString::fromUtf8(fake.readAll());

    QSet<QString> offered;
    const QMetaObject* meta = &ViewBaseModel::staticMetaObject;
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod m = meta->method(i);
        offered.insert(QString::fromLatin1(m.name()) + '/' + QString::number(m.parameterCount()));
    }
    const QSet<QString> helpers{"log/1", "key/0", "selectedNames/0"};
    static const QRegularExpression function(QStringLiteral("function (\\w+)\\(([^)]*)\\)"));
    int checked = 0;
    for (auto it = function.globalMatch(source); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString args = m.captured(2).trimmed();
        const QString key = m.captured(1) + '/' + QString::number(args.isEmpty() ? 0 : args.count(',') + 1);
        if (helpers.contains(key))
            continue;
        EXPECT_TRUE(offered.contains(key)) << key.toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 25);
    EXPECT_TRUE(offered.contains("sigUpgradeShellFinished/2"));
}

TEST_F(FileManagerTest, EnumsPassThroughJavaScriptAsNumbers)
{
    write(stick("parameters/Distance/z.xml"), "z");
    ViewBaseModel vm;
    QJSEngine js;
    js.globalObject().setProperty("vm", js.newQObject(&vm));
    QQmlEngine::setObjectOwnership(&vm, QQmlEngine::CppOwnership);
    const QJSValue r = js.evaluate(
        "vm.setFileModuleType(5); vm.setFilePos(1); vm.setFileType(1); vm.updateFileList();"
        "[vm.getFilePos(), vm.getFileType(), vm.getFileModuleType(), vm.getFileCount(), vm.getFileName(0),"
        " vm.getAllFileSelected(), vm.getFileModuleDirName(8), vm.getFileTypeDirName(1, 1)].join(',')");
    ASSERT_FALSE(r.isError()) << r.toString().toStdString();
    EXPECT_EQ(r.toString(), "1,0,5,1,z.xml,0,DC,/media/usb/report/");
}
