// The README tells a user of the run command (application root run/,
// sandbox run/sandbox/) where reports and parameter files go: the folders
// the view model uses, the folder behind each start-page tile, and a relay
// line for each module that the simulator takes.

#include "FileManagerTestSupport.h"

#include "ControllerModuleTable.h"
#include "SimHostFactory.h"

#include <QDomDocument>

#include <map>

using fmtest::FileManagerTest;

namespace {

QString sourceText(const char* relativePath)
{
    QFile file(QStringLiteral(ZOR_SOURCE_DIR "/") + QLatin1String(relativePath));
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll()) : QString();
}

struct Tile
{
    QString caption;   // as in the page's source
    QString english;   // its translation
    QString folder;    // the module table's, "" for none
};

// The start page's tiles (QMLPages/Main/MainWindowPage.qml), each with the
// module its page runs (tile 12 is the file manager).
std::vector<Tile> startPageTiles()
{
    static const std::map<int, ControllerTestor::TESTType> moduleOfTile = {
        {1, ControllerTestor::TEST_ALTERNATE},      {2, ControllerTestor::TEST_OVERCURRENT},
        {3, ControllerTestor::TEST_STATESEQUENCE}, {4, ControllerTestor::TEST_RAMPING},
        {5, ControllerTestor::TEST_HARMONIC},      {6, ControllerTestor::TEST_DISTANCE},
        {7, ControllerTestor::TEST_SLIP_FREQUENCY}, {8, ControllerTestor::TEST_SLIP_VOLTAGE},
        {9, ControllerTestor::TEST_DIRECT},        {10, ControllerTestor::TEST_OSCILLATE},
        {11, ControllerTestor::TEST_ENERGY},       {12, ControllerTestor::TEST_NONE},
    };
    QDomDocument ts;
    ts.setContent(sourceText("translations/us_en.ts"));
    QMap<QString, QString> english;
    for (QDomElement c = ts.documentElement().firstChildElement("context"); !c.isNull();
         c = c.nextSiblingElement("context"))
        if (c.firstChildElement("name").text() == QLatin1String("MainWindowPage"))
            for (QDomElement m = c.firstChildElement("message"); !m.isNull(); m = m.nextSiblingElement("message"))
                english[m.firstChildElement("source").text()] = m.firstChildElement("translation").text();

    std::vector<Tile> tiles;
    const QRegularExpression tile(QStringLiteral("index: (\\d+), text: qsTr\\(\"([^\"]+)\"\\)"));
    for (auto it = tile.globalMatch(sourceText("QMLPages/Main/MainWindowPage.qml")); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const auto module = moduleOfTile.find(m.captured(1).toInt());
        EXPECT_NE(module, moduleOfTile.end()) << "tile " << m.captured(1).toStdString() << " is new here";
        if (module != moduleOfTile.end())
            tiles.push_back({m.captured(2), english.value(m.captured(2)),
                             QString::fromLatin1(moduleEntry(module->second).folder)});
    }
    EXPECT_EQ(moduleOfTile.size(), tiles.size());
    return tiles;
}

}   // namespace

TEST_F(FileManagerTest, TheReadmeNamesTheFoldersOfTheRunCommand)
{
    const QString readme = sourceText("README.md").simplified();
    ASSERT_FALSE(readme.isEmpty());
    ViewBaseModel vm;
    const auto device = [&](ViewBaseModel::FileType type) {
        return "`run/" + vm.getFileTypeDirName(ViewBaseModel::FILE_POS_DEVICE, type).mid(appRoot().size() + 1)
               + "<module>/`";
    };
    // "media/usb/parameters": the stick's folder in the sandbox, and its own.
    const QString stick = zoplat::devicePath(vm.getFileTypeDirName(ViewBaseModel::FILE_POS_USB,
                                                                    ViewBaseModel::FILE_TYPE_PARAMETER))
                              .mid(zoplat::sandboxRoot().size() + 1);
    const QString documented[] = {
        device(ViewBaseModel::FILE_TYPE_PARAMETER), device(ViewBaseModel::FILE_TYPE_REPORT),
        "`run/sandbox/" + stick.section('/', 0, 1) + '`', "its `" + stick.section('/', 2) + "/`",
    };
    for (const QString& text : documented)
        EXPECT_TRUE(readme.contains(text)) << text.toStdString();
}

// A row "| caption | English | `folder` ..." for every tile.
TEST(Readme, TheTileTableGivesEachTileItsModuleFolder)
{
    const QString readme = sourceText("README.md");
    for (const Tile& tile : startPageTiles()) {
        const QString row = QStringLiteral("| %1 | %2 | ").arg(tile.caption, tile.english)
                            + (tile.folder.isEmpty() ? QString() : '`' + tile.folder + '`');
        EXPECT_FALSE(tile.english.isEmpty()) << tile.caption.toStdString();
        EXPECT_TRUE(readme.contains(QLatin1Char('\n') + row)) << row.toStdString();
    }
}

// Every relay line the README gives parses without an error, and each
// module tile has its own ("- English: `ZOR_SIM_RELAY='...'`").
TEST(Readme, EachModuleHasARelayLineTheSimulatorTakes)
{
    const QString readme = sourceText("README.md");
    const QRegularExpression example(QStringLiteral("`ZOR_SIM_RELAY='([^']*)'`"));
    for (auto it = example.globalMatch(readme); it.hasNext();) {
        const QString line = it.next().captured(1);
        const zorsim::RelaySetup setup = zorsim::parseRelaySetup(line);
        EXPECT_TRUE(setup.errors.isEmpty() && !setup.models.empty())
            << line.toStdString() << ": " << setup.errors.join("; ").toStdString();
    }
    for (const Tile& tile : startPageTiles()) {
        if (tile.folder.isEmpty())
            continue;
        const QString item = QStringLiteral("\n- %1: `ZOR_SIM_RELAY='").arg(tile.english);
        EXPECT_TRUE(readme.contains(item)) << item.toStdString();
    }
}
