#pragma once

#include <QObject>
#include <QStringList>

// Stands in for the main window's system view model (id viewBaseModel) in the
// QML tests and screenshots: the few operations the controls call, with their
// state as properties a test can set and read, and a log of the calls.
class ViewBaseModelStub : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool beepEnabled MEMBER beepEnabled NOTIFY changed)
    Q_PROPERTY(int beepRequests MEMBER beepRequests NOTIFY changed)
    Q_PROPERTY(int beepCount MEMBER beepCount NOTIFY changed)
    Q_PROPERTY(int auxDCType MEMBER auxDCType NOTIFY changed)
    Q_PROPERTY(int auxDCLevelType MEMBER auxDCLevelType NOTIFY changed)
    Q_PROPERTY(double auxDCMaxValue MEMBER auxDCMaxValue NOTIFY changed)
    Q_PROPERTY(int auxDCSwitch MEMBER auxDCSwitch NOTIFY changed)
    Q_PROPERTY(double auxDCValue MEMBER auxDCValue NOTIFY changed)
    Q_PROPERTY(bool clkSyncEnabled MEMBER clkSyncEnabled NOTIFY changed)
    Q_PROPERTY(int timeZoneOffset MEMBER timeZoneOffset NOTIFY changed)
    Q_PROPERTY(QStringList ppxTimes MEMBER ppxTimes NOTIFY changed)
    Q_PROPERTY(QStringList calls MEMBER calls NOTIFY changed)

public:
    explicit ViewBaseModelStub(QObject* parent = nullptr);

    // Key beep: every request is counted; a beep only while enabled.
    Q_INVOKABLE void setBeep();
    Q_INVOKABLE bool getBeepEnabled() const { return beepEnabled; }
    Q_INVOKABLE void setBeepEnabled(bool enabled);

    Q_INVOKABLE int getDeviceAuxDCType() const { return auxDCType; }
    Q_INVOKABLE int getDeviceAuxDCLevelType() const { return auxDCLevelType; }
    Q_INVOKABLE double getDeviceAuxDCMaxValue() const { return auxDCMaxValue; }
    Q_INVOKABLE void setAuxDCVSwitch(int value);
    Q_INVOKABLE int getAuxDCVSwitch() const { return auxDCSwitch; }
    Q_INVOKABLE void setAuxDCVSwitchValue(double value);
    Q_INVOKABLE double getAuxDCVSwitchValue() const { return auxDCValue; }

    Q_INVOKABLE bool getClkSyncEnabled() const { return clkSyncEnabled; }
    Q_INVOKABLE int getTimeZoneOffset() const { return timeZoneOffset; }

    // Pulse times as texts: count entries from startTime ("HH:mm:ss") every
    // intervalTime seconds, at most 64 in all.
    Q_INVOKABLE void addPPXUtcTime(const QString& startTime, int intervalTime, int timeCount);
    Q_INVOKABLE void delPPXUtcTime(int index);
    Q_INVOKABLE void clearPPXUtcTime();
    Q_INVOKABLE int getPPXTimeCount() const { return ppxTimes.size(); }
    Q_INVOKABLE QString getPPXUtcTimeStr(int index) const { return ppxTimes.value(index); }

    Q_INVOKABLE int getLanuageType() const { return 0; }

    bool beepEnabled = true;
    int beepRequests = 0;
    int beepCount = 0;
    int auxDCType = 1;
    int auxDCLevelType = 0;
    double auxDCMaxValue = 300.0;
    int auxDCSwitch = 0;
    double auxDCValue = 0.0;
    bool clkSyncEnabled = false;
    int timeZoneOffset = 0;
    QStringList ppxTimes;
    QStringList calls;

signals:
    void changed();

private:
    void record(const QString& call);
};
