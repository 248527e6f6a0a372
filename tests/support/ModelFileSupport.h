#pragma once

// Parameter-file and report helpers of the module-model tests: an edit of a
// saved XML file through its DOM, what a model holds, and a written report's
// tables as cell texts.

#include "TestSandbox.h"

#include <gtest/gtest.h>

#include <QDomDocument>
#include <QDomElement>
#include <QDomNodeList>
#include <QFile>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace filetest {

using Row = std::vector<std::string>;
using Table = std::vector<Row>;

// Rewrites the XML file at path in the sandbox through its DOM (indent 4).
inline void editXml(const TestSandbox& sandbox, const QString& path,
                    const std::function<void(QDomDocument&, QDomElement&)>& fn)
{
    QDomDocument doc;
    ASSERT_TRUE(doc.setContent(sandbox.read(path)));
    QDomElement root = doc.documentElement();
    fn(doc, root);
    sandbox.write(path, doc.toByteArray(4));
}

// What a model holds, as a save into a new file writes it: the same before
// and after a load that left the model as it was.
template <typename Model>
QByteArray held(Model& vm, const TestSandbox& sandbox)
{
    const QString path = sandbox.filePath(QStringLiteral("held.xml"));
    QFile::remove(path);
    EXPECT_TRUE(vm.save(path, QStringLiteral("DataRoot")));
    return sandbox.read(path);
}

// The element's content becomes text.
inline void setText(QDomDocument& doc, QDomElement e, const QString& text)
{
    while (!e.firstChild().isNull())
        e.removeChild(e.firstChild());
    e.appendChild(doc.createTextNode(text));
}

// The element below from along the child names (null when one is missing).
inline QDomElement path(QDomElement from, std::initializer_list<const char*> names)
{
    for (const char* n : names)
        from = from.firstChildElement(n);
    return from;
}

// Every table of an HTML document as cell texts, in document order; a
// table's rows include those of tables nested in its cells.
inline std::vector<Table> tables(const QByteArray& html)
{
    QDomDocument doc;
    doc.setContent(html);
    std::vector<Table> all;
    const QDomNodeList list = doc.elementsByTagName("table");
    for (int t = 0; t < list.size(); ++t) {
        Table rows;
        const QDomNodeList trs = list.at(t).toElement().elementsByTagName("tr");
        for (int r = 0; r < trs.size(); ++r) {
            Row cells;
            const QDomNodeList tds = trs.at(r).toElement().elementsByTagName("td");
            for (int c = 0; c < tds.size(); ++c)
                cells.push_back(tds.at(c).toElement().text().toStdString());
            rows.push_back(cells);
        }
        all.push_back(rows);
    }
    return all;
}

// Whether the table's first row has text in cell `cell`.
inline bool startsWith(const Table& table, const std::string& text, size_t cell = 0)
{
    return !table.empty() && table.front().size() > cell && table.front()[cell] == text;
}

// The first table whose first row has text in cell `cell` (empty when none).
inline Table find(const std::vector<Table>& all, const std::string& text, size_t cell = 0)
{
    for (const Table& t : all) {
        if (startsWith(t, text, cell))
            return t;
    }
    return {};
}

// The tables whose first row begins with text, in order.
inline std::vector<Table> startingWith(const std::vector<Table>& all, const std::string& text)
{
    std::vector<Table> found;
    for (const Table& t : all) {
        if (startsWith(t, text))
            found.push_back(t);
    }
    return found;
}

} // namespace filetest
