#pragma once

// One sequence-of-events record: output started, switched, state reached or
// stopped, a binary output or input changed, a pulse test started or stopped.
// Travels by const reference through queued signals (meta type
// "CommSOEEntity"); the runtime store keeps clones of the newest ones.

#include <QDateTime>
#include <QMetaType>
#include <QObject>
#include <QString>

class CommSOEEntity : public QObject
{
    Q_OBJECT

public:
    enum SOEType : qint32 {
        SOE_TYPE_NONE = 0,
        SOE_TYPE_AO_START = 1,
        SOE_TYPE_AO_SWITCH = 2,
        SOE_TYPE_AO_STATE = 3,
        SOE_TYPE_AO_STOP = 4,
        SOE_TYPE_BO_SWITCH = 5,
        SOE_TYPE_BI_SWITCH = 6,
        SOE_TYPE_BOPLUSE_START = 7,
        SOE_TYPE_BOPLUSE_STOP = 8,
    };
    enum SOERuntimeType : qint32 {
        RUNTIME_TYPE_IDLE = 0,
        RUNTIME_TYPE_RUNNING = 1,
    };
    // Direction of a binary output or input change; 0 = unchanged.
    enum SOEBIOStateType : qint32 {
        BIO_SWITCH_TYPE_ON2OFF = 1,   // closed to open
        BIO_SWITCH_TYPE_OFF2ON = 2,   // open to closed
    };
    enum SOEAOPortType : qint32 {
        AO_PORT_TYPE_UA = 0,
        AO_PORT_TYPE_UB = 1,
        AO_PORT_TYPE_UC = 2,
        AO_PORT_TYPE_UX = 3,
        AO_PORT_TYPE_IA = 4,
        AO_PORT_TYPE_IB = 5,
        AO_PORT_TYPE_IC = 6,
        AO_PORT_TYPE_IX = 7,
    };
    Q_ENUM(SOEType)

    explicit CommSOEEntity(QObject* parent = nullptr);
    CommSOEEntity(const CommSOEEntity& data, QObject* parent = nullptr);
    ~CommSOEEntity() override;

    // Copies every field; the parent stays.
    void copyFrom(const CommSOEEntity& data);
    CommSOEEntity& operator=(const CommSOEEntity& data);
    // A new heap copy without parent, owned by the caller.
    CommSOEEntity* clone() const;

    // Title and lines, each ending with "\n"; empty for SOE_TYPE_NONE.
    QString getEventText() const;
    // "hh:mm:ss:zzz" of eventUtcTime, a blank, then the event text.
    QString getEventLongText() const;
    // During a run the run time ("1.500s"), else as the long text.
    QString getEventShortText() const;

    SOEType soeType = SOE_TYPE_NONE;
    SOERuntimeType runtimeType = RUNTIME_TYPE_IDLE;
    QDateTime eventUtcTime;          // wall clock
    double eventRunTime = 0.0;       // s since the start of the run
    qint32 outputStateIndex = 0;
    bool outputEnable = false;       // the channel values are valid
    double outputRanges[8] = {};     // UA UB UC UX IA IB IC IX (V, A)
    double outputAngles[8] = {};     // deg
    double outputFrequencies[8] = {};   // Hz
    qint32 outputBOStates[4] = {};   // SOEBIOStateType per output, 0 = unchanged
    qint32 outputBIStates[4] = {};   // SOEBIOStateType per input, 0 = unchanged
    // A stop that ended a state sequence where the instrument reached a state
    // not yet written: that state, from 1 (0: none).
    qint32 unwrittenState = 0;

private:
    QString channelLines() const;
    static QString changeLines(const QString& label, const qint32 states[4]);
};

Q_DECLARE_METATYPE(CommSOEEntity)
