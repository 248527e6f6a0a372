// ViewBaseModel: HTML test reports.
//
// The report is an HTML5 document written through the DOM: a fixed head, the
// module's settings and results (appendTestSetting / appendTestResult, with
// the table and image builders), a fixed bottom. UTF-8, indent 4. Elements
// that are not void are always written open and closed (an empty one gets an
// empty text), so an HTML parser reads the tree that was built.

#include "ViewBaseModel.h"

#include "BaseUtilityHelper.h"
#include "BaseXmlFile.h"
#include "ConstTextUtility.h"
#include "ControllerCenter.h"
#include "ControllerModuleTable.h"
#include "zoplatform.h"
#include "zoplatform_datapaths.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextCodec>
#include <QTextStream>

#include <algorithm>

namespace {

// Modules whose report folders are exported to the USB stick, in this order.
const ViewBaseModel::TESTType kExportModules[] = {
    ViewBaseModel::TEST_ALTERNATE,    ViewBaseModel::TEST_STATESEQUENCE, ViewBaseModel::TEST_HARMONIC,
    ViewBaseModel::TEST_DISTANCE,     ViewBaseModel::TEST_RAMPING,       ViewBaseModel::TEST_OVERCURRENT,
    ViewBaseModel::TEST_DIRECT,       ViewBaseModel::TEST_ENERGY,        ViewBaseModel::TEST_SLIP_FREQUENCY,
    ViewBaseModel::TEST_SLIP_VOLTAGE, ViewBaseModel::TEST_OSCILLATE,
};

QDomElement child(QDomDocument* doc, QDomElement* parent, const QString& name)
{
    QDomElement e = doc->createElement(name);
    parent->appendChild(e);
    return e;
}

QDomElement fontElement(QDomDocument* doc, const QString& size, const QString& face)
{
    QDomElement font = doc->createElement(QStringLiteral("font"));
    font.setAttribute(QStringLiteral("size"), size);
    font.setAttribute(QStringLiteral("face"), face);
    font.setAttribute(QStringLiteral("color"), ConstTextUtility::FONT_COLOR);
    return font;
}

// A font element with its text (an empty text keeps the element open).
QDomElement fontWith(QDomDocument* doc, const QString& size, const QString& face, const QString& text)
{
    QDomElement font = fontElement(doc, size, face);
    font.appendChild(doc->createTextNode(text));
    return font;
}

void appendRule(QDomDocument* doc, QDomElement* parent, const QString& size)
{
    QDomElement hr = child(doc, parent, QStringLiteral("hr"));
    hr.setAttribute(QStringLiteral("size"), size);
    hr.setAttribute(QStringLiteral("color"), ConstTextUtility::BORDER_COLOR);
}

QDomElement tableElement(QDomDocument* doc, const QString& border)
{
    QDomElement table = doc->createElement(QStringLiteral("table"));
    table.setAttribute(QStringLiteral("cellSpacing"), QStringLiteral("0"));
    table.setAttribute(QStringLiteral("cellPadding"), QStringLiteral("0"));
    table.setAttribute(QStringLiteral("width"), QStringLiteral("100%"));
    table.setAttribute(QStringLiteral("align"), QStringLiteral("center"));
    table.setAttribute(QStringLiteral("border"), border);
    table.setAttribute(QStringLiteral("bordercolor"), ConstTextUtility::BORDER_COLOR);
    return table;
}

}   // namespace

QString ViewBaseModel::testTitleOf(int testType)
{
    // The table's titles are translated in this class's context.
    return QString::fromUtf8(moduleEntry(testType).title);
}

QString ViewBaseModel::reportText(const char* source) const
{
    return tr(source);
}

QString ViewBaseModel::setFlagList(const qint32 (&flags)[4])
{
    QString list;
    for (int i = 0; i < 4; ++i) {
        if (flags[i] != 0)
            list += QString::number(i + 1) + QLatin1Char(';');
    }
    return list;
}

bool ViewBaseModel::isValidReportName(const QString& name)
{
    if (name.isEmpty())
        return true;   // a name is made up
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QLatin1Char('\0'))
        && !name.contains(QStringLiteral("..")) && !name.startsWith(QLatin1Char('.'));
}

// ---- Saving ----------------------------------------------------------------------------

bool ViewBaseModel::checkReportFiles(const QString& root, const QString& folder)
{
    const QString dir = root + QStringLiteral("/report/") + folder;
    // No link takes a report out of the application's folder and the data root.
    if (!zoplat::localPathInside(QFile::encodeName(dir), {BaseUtilityHelper::getAppRootPath(), root}, true)) {
        qWarning().noquote() << "ViewBaseModel: report folder leads elsewhere:" << dir;
        reportFailureText =
            tr("保存报告失败：报告文件夹 %1 通向应用程序文件夹之外。").arg(QStringLiteral("report/") + folder);
        return false;
    }
    QDir().mkpath(dir);
    if (!QFileInfo(dir).isDir())
        return false;
    // What earlier saves cut short left (a PC would fetch it as a report).
    zoplat::removeSaveTemporaries(dir);
    return true;
}

bool ViewBaseModel::openReportFile(QFile* file, QDomDocument* doc, QDomElement* body)
{
    // The old report stays until the new one replaces it (see saveReport).
    if (!file || !doc || !body)
        return false;
    *doc = QDomDocument(QDomImplementation().createDocumentType(QStringLiteral("html"), QString(), QString()));
    QDomElement html = doc->createElement(QStringLiteral("html"));
    QDomElement head = child(doc, &html, QStringLiteral("head"));
    QDomElement meta = child(doc, &head, QStringLiteral("meta"));
    meta.setAttribute(QStringLiteral("http-equiv"), QStringLiteral("Content-Type"));
    meta.setAttribute(QStringLiteral("content"), QStringLiteral("text/html; charset=utf-8"));
    QDomElement title = child(doc, &head, QStringLiteral("title"));
    title.appendChild(doc->createTextNode(QStringLiteral("Welcome to use ") + getSoftwareName()));
    *body = child(doc, &html, QStringLiteral("body"));
    doc->appendChild(html);
    return true;
}

bool ViewBaseModel::saveReport(QString name)
{
    reportFailureText.clear();
    if (!isValidReportName(name)) {
        qWarning().noquote() << "ViewBaseModel: report name refused:" << name;
        return false;
    }
    const QString root = getRootPath();
    const QString folder = getActiveTestDir();
    if (folder.isEmpty() || !checkReportFiles(root, folder))
        return false;
    if (name.isEmpty())
        name = folder + QLatin1Char('_') + nowDateTime().toString(QStringLiteral("yyyyMMddhhmmss"))
            + QStringLiteral(".htm");
    const QString path = root + QStringLiteral("/report/") + folder + QLatin1Char('/') + name;

    QSaveFile file(path);
    QDomDocument doc;
    QDomElement body;
    QFile target(path);
    if (!openReportFile(&target, &doc, &body) || body.isNull())
        return false;
    appendHead(&doc, &body);
    appendTestSetting(&doc, &body);
    appendTestResult(&doc, &body);
    appendBottom(&doc, &body);

    // Written beside the old report and renamed over it; a link in its
    // place is replaced, its target left alone.
    if (!BaseXmlFile::dropLink(path) || !file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        qWarning().noquote() << "ViewBaseModel: report not written:" << path << file.errorString();
        return false;
    }
    QTextStream stream(&file);
    stream.setCodec(QTextCodec::codecForName("UTF-8"));
    doc.save(stream, 4, QDomNode::EncodingFromDocument);
    stream.flush();
    if (stream.status() != QTextStream::Ok || !file.commit()) {
        qWarning().noquote() << "ViewBaseModel: report not written:" << path << file.errorString();
        return false;
    }
    zoplat::syncFileSystems();
    return true;
}

bool ViewBaseModel::exportReport()
{
    if (!usbStickMounted())
        return false;
    const QString root = getRootPath();
    bool exported = false;
    bool failed = false;
    for (const TESTType module : kExportModules) {
        const QString folder = testDirOf(module);
        const QString source = root + QStringLiteral("/report/") + folder;
        if (!QFileInfo(source).isDir())
            continue;
        const QString target = QStringLiteral("/media/usb/report/") + folder;
        if (zoplat::makeDir(target) != 0) {
            qWarning().noquote() << "ViewBaseModel: report folder not created on the stick:" << target;
            failed = true;
            continue;
        }
        const QFileInfoList files = QDir(source).entryInfoList(
            {QStringLiteral("*.rtf"), QStringLiteral("*.Rtf"), QStringLiteral("*.RTF"), QStringLiteral("*.htm")},
            QDir::Files, QDir::Time);
        for (const QFileInfo& f : files) {
            if (zoplat::copyFile(f.absoluteFilePath(), target + QLatin1Char('/') + f.fileName()) != 0) {
                qWarning().noquote() << "ViewBaseModel: report not copied:" << f.absoluteFilePath();
                failed = true;
            }
        }
        exported = true;
    }
    zoplat::syncFileSystems();
    return exported && !failed;
}

// ---- Fixed parts -------------------------------------------------------------------------

void ViewBaseModel::appendHead(QDomDocument* doc, QDomElement* body)
{
    using namespace ConstTextUtility;
    const QString colon = QStringLiteral(":");
    const QDateTime now = nowDateTime();

    // The caption; the report number follows it (a table is not part of a paragraph).
    QDomElement p = child(doc, body, QStringLiteral("p"));
    p.setAttribute(QStringLiteral("align"), QStringLiteral("center"));
    QDomElement font = fontElement(doc, FONT_SIZE_3, FONT_ARIAL_BLACK);
    QDomElement strong = doc->createElement(QStringLiteral("strong"));
    strong.appendChild(doc->createTextNode(reportText(QT_TR_NOOP("Test Report"))));
    font.appendChild(strong);
    p.appendChild(font);
    QStringList number{QStringLiteral("NO:") + now.toString(QStringLiteral("yyyyMMdd hhmm"))};
    appendTable(doc, body, QStringLiteral("0"), QStringLiteral("90%"), QStringLiteral("right"), FONT_SIZE_2,
                FONT_ARIAL_BLACK, &number, 1);
    appendRule(doc, body, QStringLiteral("1"));

    QStringList customer[3] = {
        {reportText(QT_TR_NOOP("Customer")) + colon, reportText(QT_TR_NOOP("PO No")) + colon},
        {reportText(QT_TR_NOOP("Address")) + colon, QString()},
        {reportText(QT_TR_NOOP("Contact No")) + colon, QString()},
    };
    appendTable(doc, body, QStringLiteral("0"), QStringLiteral("50%"), QStringLiteral("left"), FONT_SIZE_2,
                FONT_ARIAL_BLACK, customer, 3);

    QStringList module{reportText(QT_TR_NOOP("Test Module"))};
    appendTable(doc, body, QStringLiteral("0"), QStringLiteral("100%"), QStringLiteral("left"), FONT_SIZE_2,
                FONT_ARIAL_BLACK, &module, 1);
    const QString title = testTitleOf(ownModule());
    QStringList item{reportText(QT_TR_NOOP("Test item")) + colon
                         + (title.isEmpty() ? QString() : tr(title.toUtf8().constData())),
                     reportText(QT_TR_NOOP("Test time")) + colon + now.toString(QStringLiteral("yyyy-MM-dd hh:mm"))};
    appendTable(doc, body, QStringLiteral("0"), QStringLiteral("50%"), QStringLiteral("left"), FONT_SIZE_2, FONT_ARIAL,
                &item, 1);

    QStringList device{reportText(QT_TR_NOOP("Device Under Test"))};
    appendTable(doc, body, QStringLiteral("0"), QStringLiteral("100%"), QStringLiteral("left"), FONT_SIZE_2,
                FONT_ARIAL_BLACK, &device, 1);
    QStringList model[2] = {
        {reportText(QT_TR_NOOP("Model")) + colon + getSoftwareName(),
         reportText(QT_TR_NOOP("Type")) + colon + getDeviceModel()},
        {reportText(QT_TR_NOOP("Ser. No")) + colon + getDeviceCode(), reportText(QT_TR_NOOP("Equipment Use")) + colon},
    };
    appendTable(doc, body, QStringLiteral("0"), QStringLiteral("50%"), QStringLiteral("left"), FONT_SIZE_2, FONT_ARIAL,
                model, 2);
}

void ViewBaseModel::appendTestSetting(QDomDocument* doc, QDomElement* body)
{
    QStringList caption{reportText(QT_TR_NOOP("Test Setting"))};
    appendTable(doc, body, QStringLiteral("0"), QStringLiteral("100%"), QStringLiteral("left"),
                ConstTextUtility::FONT_SIZE_2, ConstTextUtility::FONT_ARIAL_BLACK, &caption, 1);
}

void ViewBaseModel::appendTestResult(QDomDocument* doc, QDomElement* body)
{
    QStringList caption{reportText(QT_TR_NOOP("Test Result")) + QStringLiteral(":") + reportText(QT_TR_NOOP("Passed"))
                        + QStringLiteral(" __ ") + reportText(QT_TR_NOOP("Failed")) + QStringLiteral(" __ ")};
    appendTable(doc, body, QStringLiteral("0"), QStringLiteral("100%"), QStringLiteral("left"),
                ConstTextUtility::FONT_SIZE_2, ConstTextUtility::FONT_ARIAL_BLACK, &caption, 1);
}

void ViewBaseModel::appendBottom(QDomDocument* doc, QDomElement* body)
{
    using namespace ConstTextUtility;
    child(doc, body, QStringLiteral("br"));

    QDomElement table = tableElement(doc, QStringLiteral("0"));
    QDomElement row = child(doc, &table, QStringLiteral("tr"));
    QDomElement remarks = child(doc, &row, QStringLiteral("td"));
    QDomElement lines = child(doc, &row, QStringLiteral("td"));
    for (QDomElement* td : {&remarks, &lines}) {
        td->setAttribute(QStringLiteral("height"), TD_HEIGHT);
        td->setAttribute(QStringLiteral("bgcolor"), QStringLiteral("white"));
        td->setAttribute(QStringLiteral("align"), QStringLiteral("left"));
    }
    remarks.setAttribute(QStringLiteral("width"), QStringLiteral("10%"));
    remarks.appendChild(fontWith(doc, FONT_SIZE_2, FONT_ARIAL_BLACK, reportText(QT_TR_NOOP("Remarks"))));
    lines.setAttribute(QStringLiteral("width"), QStringLiteral("90%"));
    lines.appendChild(fontWith(doc, FONT_SIZE_2, FONT_ARIAL, QString()));
    for (int i = 0; i < 4; ++i) {
        child(doc, &lines, QStringLiteral("br"));
        appendRule(doc, &lines, QStringLiteral("1"));
    }
    body->appendChild(table);

    for (int i = 0; i < 3; ++i)
        child(doc, body, QStringLiteral("br"));
    QStringList signatures{reportText(QT_TR_NOOP("Tested by")) + QStringLiteral(":"),
                           reportText(QT_TR_NOOP("Checked by")) + QStringLiteral(":"),
                           reportText(QT_TR_NOOP("Date")) + QStringLiteral(":")};
    appendTable(doc, body, QStringLiteral("0"), QStringLiteral("33%"), QStringLiteral("left"), FONT_SIZE_2,
                FONT_ARIAL_BLACK, &signatures, 1);
    child(doc, body, QStringLiteral("br"));
    appendRule(doc, body, QStringLiteral("2"));
}

// ---- Builders -------------------------------------------------------------------------------

void ViewBaseModel::appendTable(QDomDocument* doc, QDomElement* parent, QString border, QString width, QString align,
                                QString fontSize, QString fontFace, QStringList* rows, int rowCount)
{
    int cells = 0;
    for (int r = 0; rows && r < rowCount; ++r)
        cells = std::max(cells, rows[r].size());
    QStringList widths;
    for (int c = 0; c < cells; ++c)
        widths << width;
    appendTable(doc, parent, border, widths, align, fontSize, fontFace, rows, rowCount);
}

void ViewBaseModel::appendTable(QDomDocument* doc, QDomElement* parent, QString border, QStringList widths,
                                QString align, QString fontSize, QString fontFace, QStringList* rows, int rowCount)
{
    if (!doc || !parent)
        return;
    QDomElement table = tableElement(doc, border);
    for (int r = 0; rows && r < rowCount; ++r) {
        QDomElement row = child(doc, &table, QStringLiteral("tr"));
        for (int c = 0; c < rows[r].size(); ++c) {
            QDomElement td = child(doc, &row, QStringLiteral("td"));
            td.setAttribute(QStringLiteral("height"), ConstTextUtility::TD_HEIGHT);
            // A missing width leaves the cell to the browser.
            if (c < widths.size())
                td.setAttribute(QStringLiteral("width"), widths.at(c));
            td.setAttribute(QStringLiteral("bgcolor"), ConstTextUtility::BG_COLOR);
            td.setAttribute(QStringLiteral("align"), align);
            td.appendChild(fontWith(doc, fontSize, fontFace, rows[r].at(c)));
        }
        if (rows[r].isEmpty())
            row.appendChild(doc->createTextNode(QString()));
    }
    if (!table.hasChildNodes())
        table.appendChild(doc->createTextNode(QString()));
    parent->appendChild(table);
}

void ViewBaseModel::appendImage(QDomDocument* doc, QDomElement* parent, QString src, QString width, QString height,
                                const QString& alt)
{
    if (!doc || !parent)
        return;
    QDomElement table = doc->createElement(QStringLiteral("table"));
    table.setAttribute(QStringLiteral("width"), QStringLiteral("100%"));
    table.setAttribute(QStringLiteral("align"), QStringLiteral("center"));
    table.setAttribute(QStringLiteral("border"), QStringLiteral("0"));
    QDomElement row = child(doc, &table, QStringLiteral("tr"));
    QDomElement td = child(doc, &row, QStringLiteral("td"));
    td.setAttribute(QStringLiteral("height"), QStringLiteral("308"));
    td.setAttribute(QStringLiteral("width"), QStringLiteral("100%"));
    td.setAttribute(QStringLiteral("bgcolor"), ConstTextUtility::BG_COLOR);
    td.setAttribute(QStringLiteral("align"), QStringLiteral("center"));
    QDomElement img = child(doc, &td, QStringLiteral("img"));
    img.setAttribute(QStringLiteral("src"), src);
    img.setAttribute(QStringLiteral("align"), QStringLiteral("center"));
    img.setAttribute(QStringLiteral("width"), width);
    img.setAttribute(QStringLiteral("height"), height);
    if (!alt.isEmpty())
        img.setAttribute(QStringLiteral("alt"), alt);
    parent->appendChild(table);
}
