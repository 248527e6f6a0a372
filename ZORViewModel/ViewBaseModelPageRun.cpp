// ViewBaseModel: a start from a module page, the page's exit and its message.

#include "ViewBaseModel.h"

#include "ControllerCenter.h"
#include "ControllerTestor.h"
#include "ModelEntityCommon.h"

bool ViewBaseModel::getExitEnabled() const
{
    return exitEnabled;
}

void ViewBaseModel::setExitEnabled(bool enable)
{
    exitEnabled = enable;
    emit sigExitEnable(enable);
}

QString ViewBaseModel::getUserMessage() const
{
    return userMessage;
}

void ViewBaseModel::clearUserMessage()
{
    userMessage.clear();
}

void ViewBaseModel::showUserMessage(const QString& text)
{
    userMessage = text;
    emit sigUserMessage(text);
}

QString ViewBaseModel::startRefusalText(int reason, const QList<qint32>& numbers)
{
    switch (reason) {
    case ControllerTestor::REFUSAL_VALUES:
        return tr("有输出值不是有效数值或超出范围，试验未开始。");
    case ControllerTestor::REFUSAL_COUNT:
        return tr("状态数或测试点数超出允许范围，试验未开始。");
    case ControllerTestor::REFUSAL_REGISTER:
        return tr("变化步数过多，超出仪器可输出的状态数，试验未开始。");
    case ControllerTestor::REFUSAL_PULSE_RATE:
        return tr("功率和电能表常数都必须大于零，否则无法输出脉冲，试验未开始。");
    case ControllerTestor::REFUSAL_PULSE_PERIOD:
        return tr("脉冲周期超出仪器可输出的范围，试验未开始。");
    case ControllerTestor::REFUSAL_SLIDE_RATE:
        return tr("有输出值不是有效数值，或滑差不大于零，试验未开始。");
    case ControllerTestor::REFUSAL_ENDLESS_SEARCH:
        return tr("步长为零，永远达不到终值，试验未开始。");
    case ControllerTestor::REFUSAL_INSTRUMENT:
        return tr("仪器未能接受输出设置，试验未开始。");
    case ControllerTestor::REFUSAL_RING_LAP:
        return tr("状态%1至%2合计不足%3毫秒，仪器的8个输出页来不及补充，试验未开始。")
            .arg(numbers.value(0))
            .arg(numbers.value(1))
            .arg(numbers.value(2));
    case ControllerTestor::REFUSAL_RANGE: {
        // Channel, item, then the value and the output's range in thousandths.
        const int channel = numbers.value(0);
        const QString unit = QLatin1Char(' ') + QLatin1String(ModelEntity::rampUnit(numbers.value(1), channel));
        auto value = [&](int i) { return QString::number(numbers.value(i) / 1000.0, 'g', 10) + unit; };
        // A sixth number of 1: the output itself is set there, not ramped.
        const QString text = numbers.value(5) == 1 ? tr("输出将使%1达到%2，超出其输出范围%3至%4，试验未开始。")
                                                   : tr("递变将使%1达到%2，超出其输出范围%3至%4，试验未开始。");
        return text.arg(QLatin1String(ModelEntity::channelName(channel)), value(2), value(3), value(4));
    }
    case ControllerTestor::REFUSAL_STEP_DEBOUNCE: {
        auto ms = [&](int i) { return QString::number(numbers.value(i) / 1000.0, 'g', 10) + QStringLiteral(" ms"); };
        return tr("步长时间%1短于防抖时间%2：动作要到其后数步才被确认，无法确定动作值，试验未开始。").arg(ms(0), ms(1));
    }
    case ControllerTestor::REFUSAL_TRIGGER_TIME:
        return tr("状态%1由GPS/IRIG-B触发，但未设置触发时间，试验未开始。").arg(numbers.value(0));
    default:
        return QString();
    }
}

bool ViewBaseModel::isTestRunning() const
{
    return runtimeState(STATE_TYPE_RUNNING) != 0;
}

bool ViewBaseModel::instrumentReadyToStart()
{
    if (!getDriverInitialised()) {
        showUserMessage(tr("设备未初始化"));
        return false;
    }
    if (!getRunEnabled()) {
        showUserMessage(tr("功放温度过高，请待其冷却后再开始试验。"));
        return false;
    }
    return true;
}

bool ViewBaseModel::startFromPage()
{
    if (!ViewBaseModel::testStart())
        return false;
    setExitEnabled(false);
    return true;
}

QString ViewBaseModel::tripTimeWord(bool completed, bool notReset, double tripTime) const
{
    if (!completed)
        return QString();
    if (notReset)
        return tr("未复归");
    return tripTime >= 0.0 ? QString() : tr("未动作");
}

void ViewBaseModel::followRunStateReport(DATAType type, int subType)
{
    if (type != DATA_TYPE_RT_STATE || subType != STATE_TYPE_RUNNING || exitEnabled)
        return;
    // The report of a start that failed never shows the run; it says why.
    if (!testingSTATE[STATE_TYPE_RUNNING]) {
        startPending = false;   // a run begun later is not this start's
        const ControllerTestor* testor = center()->testTestor;
        const QString why = startRefusalText(testor->lastStartRefusalReason(), testor->lastStartRefusalNumbers());
        if (!why.isEmpty())
            showUserMessage(why);
    }
    setExitEnabled(true);
}
