#pragma once

// The program's text constants: event titles and labels, alarm texts, report
// colours and fonts, and the version texts.
//
// The event titles and labels are translation sources in the context
// "CommSOEEntity"; translate them with CommSOEEntity's tr() before showing.

#include <QtGlobal>
#include <QString>

namespace ConstTextUtility {

inline const QString TEST_START = QString::fromUtf8(QT_TRANSLATE_NOOP("CommSOEEntity", "开始测试"));
inline const QString TEST_STOP = QString::fromUtf8(QT_TRANSLATE_NOOP("CommSOEEntity", "停止测试"));
inline const QString TEST_AOSTART = QString::fromUtf8(QT_TRANSLATE_NOOP("CommSOEEntity", "开始输出"));
inline const QString TEST_AOSTOP = QString::fromUtf8(QT_TRANSLATE_NOOP("CommSOEEntity", "停止输出"));
inline const QString TEST_AOSWITCH = QString::fromUtf8(QT_TRANSLATE_NOOP("CommSOEEntity", "改变输出"));
inline const QString TEST_AOSTATE = QString::fromUtf8(QT_TRANSLATE_NOOP("CommSOEEntity", "输出状态"));
// A state sequence's stop where the instrument reached state %1 before it was written.
inline const QString TEST_STATE_UNWRITTEN =
    QString::fromUtf8(QT_TRANSLATE_NOOP("CommSOEEntity", "状态%1未在仪器到达前写入，测试在此结束"));
inline const QString BO = QString::fromUtf8(QT_TRANSLATE_NOOP("CommSOEEntity", "开出量"));
inline const QString BI = QString::fromUtf8(QT_TRANSLATE_NOOP("CommSOEEntity", "开入量"));
inline const QString BIO_ON2OFF = QString::fromUtf8(QT_TRANSLATE_NOOP("CommSOEEntity", "由合到开"));
inline const QString BIO_OFF2ON = QString::fromUtf8(QT_TRANSLATE_NOOP("CommSOEEntity", "由开到合"));

inline const QString ALARM_PV_HIGH_INPUT = QString::fromUtf8("电压高压引入告警");
inline const QString ALARM_PV_SHORT = QString::fromUtf8("电压短路告警");
inline const QString ALARM_PV_OVER_TEMPERATURE = QString::fromUtf8("功放高温告警");
inline const QString ALARM_PIA_OPENED = QString::fromUtf8("电流IA开路告警");
inline const QString ALARM_PIB_OPENED = QString::fromUtf8("电流IB开路告警");
inline const QString ALARM_PIC_OPENED = QString::fromUtf8("电流IC开路告警");
inline const QString TEMPERATURE_UNIT = QString::fromUtf8("℃");

// Report style.
inline const QString FONT_COLOR = QStringLiteral("#000066");
inline const QString BORDER_COLOR = QStringLiteral("#333366");
inline const QString FONT_ARIAL_BLACK = QStringLiteral("Arial Black");
inline const QString FONT_ARIAL = QStringLiteral("Arial");
inline const QString FONT_SIZE_1 = QStringLiteral("2");
inline const QString FONT_SIZE_2 = QStringLiteral("2");
inline const QString FONT_SIZE_3 = QStringLiteral("3");
inline const QString BG_COLOR = QStringLiteral("#FFFFFF");
inline const QString TD_HEIGHT = QStringLiteral("22");

// Versions.
inline const QString SOFTWARE_VERSION = QStringLiteral("2.0.0004");
inline const QString CALIBRATION_VERSION = QStringLiteral("1.0.0000");

} // namespace ConstTextUtility
