// ViewBaseModel: module parameter files under the data root.
//
// <data root>/parameters/<module folder>/parameter.xml, root "DataRoot":
// the base keys (dataVersion, outputOnceOnly, normalEnable, normalTime,
// normalOutput, intervalEnable, intervalTime, intervalOutput) followed by the
// module's own elements. A save merges into the file that is there, so
// elements this model does not own stay, and replaces it atomically
// (BaseXmlFile::save). A file that does not parse is not read, and a save
// does not merge into it. The base block has no page limits: a non-finite
// value read from a file keeps the field (mapSetting).

#include "ViewBaseModel.h"

#include "BaseUtilityHelper.h"
#include "BaseXmlFile.h"
#include "BaseXmlUtilities.h"
#include "ControllerCenter.h"
#include "ControllerModuleTable.h"
#include "ViewParameterSetting.h"
#include "zoplatform.h"
#include "zoplatform_datapaths.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kDataRootName = QStringLiteral("DataRoot");
const QString kSdMountPoint = QStringLiteral("/mnt/sdp1");

QString parameterPath(const QString& root, const QString& folder)
{
    return root + QStringLiteral("/parameters/") + folder + QStringLiteral("/parameter.xml");
}

QDomProcessingInstruction xmlDeclaration(QDomDocument& doc)
{
    return doc.createProcessingInstruction(QStringLiteral("xml"), QStringLiteral("version=\"1.0\" encoding=\"utf-8\""));
}

}   // namespace

// ---- OutputEntity section ------------------------------------------------------------

bool ViewBaseModel::OutputEntity::serialize(bool toXml, QDomElement* element, QDomDocument* doc)
{
    if (!element || (!toXml && element->isNull()))
        return false;
    QDomElement ports;
    BaseXmlUtilities::getElement(&ports, element, doc, QStringLiteral("ports"), toXml);
    for (int p = 0; p < 8; ++p) {
        QDomElement port;
        BaseXmlUtilities::getElement(&port, &ports, doc, QStringLiteral("port") + QString::number(p), toXml);
        mapSetting(toXml, &port, doc, QStringLiteral("range"), outputRanges[p]);
        mapSetting(toXml, &port, doc, QStringLiteral("angle"), outputAngles[p]);
        mapSetting(toXml, &port, doc, QStringLiteral("frequency"), outputFrequencies[p]);
    }
    return true;
}

// ---- Data root and module folder ---------------------------------------------------------

bool ViewBaseModel::checkSDCardExist() const
{
    return zoplat::sdCardPresent();
}

bool ViewBaseModel::sdCardMounted() const
{
    return zoplat::sdCardMounted();
}

QString ViewBaseModel::getRootPath() const
{
    return zoplat::dataRootPath();
}

QString ViewBaseModel::testDirOf(int testType)
{
    return QString::fromLatin1(moduleEntry(testType).folder);
}

QString ViewBaseModel::getActiveTestDir() const
{
    return testDirOf(getTestActiveType());
}

// ---- Save and load -------------------------------------------------------------------------

bool ViewBaseModel::saveParameter()
{
    // The file follows the engine's active module.
    const QString folder = getActiveTestDir();
    if (folder.isEmpty())
        return false;
    const bool ok = save(parameterPath(getRootPath(), folder), kDataRootName);
    zoplat::syncFileSystems();
    return ok;
}

bool ViewBaseModel::loadParameter()
{
    if (bLoadParameter)
        return false;
    bLoadParameter = true;   // a failed read is not retried
    const QString folder = getActiveTestDir();
    if (folder.isEmpty())
        return false;
    return load(parameterPath(getRootPath(), folder), kDataRootName, false);
}

quint32 ViewBaseModel::version(QDomElement* root)
{
    return BaseXmlUtilities::getValue(root, QStringLiteral("dataVersion"), BaseUtilityHelper::versionle(0, 0, 0, 1));
}

bool ViewBaseModel::checking(QDomElement* root)
{
    return dataVersion <= version(root);
}

bool ViewBaseModel::serialize(bool write, QDomElement* root, QDomDocument* doc)
{
    if (!root || (!write && root->isNull()))
        return false;
    if (write)
        BaseXmlUtilities::setValue(root, doc, QStringLiteral("dataVersion"), dataVersion);
    BaseXmlUtilities::map(write, root, doc, QStringLiteral("outputOnceOnly"), outputOnceOnly, outputOnceOnly);
    BaseXmlUtilities::map(write, root, doc, QStringLiteral("normalEnable"), normalEnable, normalEnable);
    mapSetting(write, root, doc, QStringLiteral("normalTime"), normalTime);
    QDomElement normal;
    BaseXmlUtilities::getElement(&normal, root, doc, QStringLiteral("normalOutput"), write);
    normalOutput.serialize(write, &normal, doc);
    BaseXmlUtilities::map(write, root, doc, QStringLiteral("intervalEnable"), intervalEnable, intervalEnable);
    mapSetting(write, root, doc, QStringLiteral("intervalTime"), intervalTime);
    QDomElement interval;
    BaseXmlUtilities::getElement(&interval, root, doc, QStringLiteral("intervalOutput"), write);
    intervalOutput.serialize(write, &interval, doc);
    return true;
}

bool ViewBaseModel::load(const QString& path, const QString& rootName, bool check)
{
    BaseXmlFile::removeStaleTemporaries(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QDomDocument doc;
    // The parser keeps what it read before an error: the values after it
    // would silently keep the model's.
    if (!BaseXmlFile::parse(doc, &file)) {
        qWarning().noquote() << "ViewBaseModel: parameter file does not parse, not read:" << path;
        return false;
    }
    file.close();
    QDomElement root = doc.firstChildElement(rootName);
    if (root.isNull())
        return false;
    if (check && !checking(&root))
        return false;
    return serialize(false, &root, &doc);
}

bool ViewBaseModel::save(const QString& path, const QString& rootName)
{
    QDomDocument doc;
    QDomElement root;
    QFile existing(path);
    if (existing.exists()) {
        // Merge: the elements of the file that this model does not map stay.
        if (existing.open(QIODevice::ReadOnly | QIODevice::Text)) {
            if (!BaseXmlFile::parse(doc, &existing))
                doc = QDomDocument();   // not merged into a part
            existing.close();
        }
        root = doc.firstChildElement(rootName);
        if (root.isNull() && !doc.documentElement().isNull())
            doc = QDomDocument();   // another document: rebuilt, not given a second root
    } else if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        qWarning().noquote() << "ViewBaseModel: parameter folder not created:" << path;
        return false;
    }
    if (root.isNull()) {
        if (!doc.hasChildNodes())
            doc.appendChild(xmlDeclaration(doc));
        root = doc.createElement(rootName);
        doc.appendChild(root);
    }
    serialize(true, &root, &doc);

    // Written beside the old file and renamed over it: a reader or a power
    // cut sees the old file or the new one, never a part.
    return BaseXmlFile::save(doc, path, 4, QDomNode::EncodingFromDocument);
}
