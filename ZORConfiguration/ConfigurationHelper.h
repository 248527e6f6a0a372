#pragma once

#include <QObject>

// Process-wide configuration helper object. It holds no data yet; the
// key/value files it is named after are read by BaseXmlHelper.
class ConfigurationHelper : public QObject
{
    Q_OBJECT
public:
    static ConfigurationHelper* getInstance();

private:
    explicit ConfigurationHelper(QObject* parent = nullptr);
};
