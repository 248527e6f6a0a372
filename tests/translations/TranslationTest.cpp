#include "CommSOEEntity.h"
#include "ControllerConfiguration.h"
#include "ZorInterfaceResources.h"
#include "ZorStartup.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QSet>
#include <QTranslator>
#include <QXmlStreamReader>

#include <ostream>

namespace {

struct TsMessage
{
    QString context;
    QString source;
    QString translation;
    QString type;   // the translation's type attribute ("unfinished", ...)
};

struct TsFile
{
    QString language;
    QString error;
    QVector<TsMessage> messages;
};

TsFile readTs(const QString& name)
{
    TsFile ts;
    QFile file(QStringLiteral(ZOR_SOURCE_DIR "/translations/") + name + QStringLiteral(".ts"));
    if (!file.open(QIODevice::ReadOnly)) {
        ts.error = file.errorString();
        return ts;
    }
    QXmlStreamReader xml(&file);
    QString context;
    TsMessage message;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto tag = xml.name();
        if (tag == QLatin1String("TS")) {
            ts.language = xml.attributes().value(QLatin1String("language")).toString();
        } else if (tag == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (tag == QLatin1String("message")) {
            message = TsMessage{context, {}, {}, {}};
        } else if (tag == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (tag == QLatin1String("translation")) {
            message.type = xml.attributes().value(QLatin1String("type")).toString();
            message.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            ts.messages.append(message);
        }
    }
    if (xml.hasError())
        ts.error = xml.errorString();
    return ts;
}

struct Language
{
    int lanuageType;
    const char* name;   // file name without extension
    const char* locale; // the .ts file's language
};

const Language kLanguages[] = {
    {ControllerConfiguration::LANGUAGE_TYPE_CHINESE, "zh_cn", "zh_CN"},
    {ControllerConfiguration::LANGUAGE_TYPE_ENGLISH, "us_en", "en_US"},
    {ControllerConfiguration::LANGUAGE_TYPE_PORTUGUESE, "pt_pt", "pt_PT"},
    {ControllerConfiguration::LANGUAGE_TYPE_RUSSIAN, "ru_ru", "ru_RU"},
    {ControllerConfiguration::LANGUAGE_TYPE_JAPANESE, "ja_jp", "ja_JP"},
};

// Names the parameter in test names and messages.
void PrintTo(const Language& lang, std::ostream* os)
{
    *os << lang.name;
}

QString key(const TsMessage& m)
{
    return m.context + QLatin1Char('\x1f') + m.source;
}

class TranslationFiles : public ::testing::TestWithParam<Language>
{
};

TEST_P(TranslationFiles, EveryTextHasAFinishedTranslation)
{
    const Language lang = GetParam();
    const TsFile ts = readTs(QString::fromLatin1(lang.name));
    ASSERT_TRUE(ts.error.isEmpty()) << ts.error.toStdString();
    EXPECT_EQ(ts.language, QString::fromLatin1(lang.locale));
    ASSERT_FALSE(ts.messages.isEmpty());
    for (const TsMessage& m : ts.messages) {
        const std::string where = (m.context + QStringLiteral(": ") + m.source).toStdString();
        EXPECT_TRUE(m.type.isEmpty()) << lang.name << " " << m.type.toStdString() << " " << where;
        EXPECT_FALSE(m.translation.trimmed().isEmpty()) << lang.name << " empty: " << where;
    }
}

// Every catalogue carries the same texts: one refreshed without the others
// would leave a language with untranslated pages.
TEST_P(TranslationFiles, CarryTheSameTextsAsTheSourceCatalogue)
{
    const TsFile source = readTs(QStringLiteral("zh_cn"));
    const TsFile ts = readTs(QString::fromLatin1(GetParam().name));
    ASSERT_TRUE(source.error.isEmpty() && ts.error.isEmpty());
    QSet<QString> expected, found;
    for (const TsMessage& m : source.messages)
        expected.insert(key(m));
    for (const TsMessage& m : ts.messages)
        found.insert(key(m));
    for (const QString& k : expected - found)
        ADD_FAILURE() << GetParam().name << " lacks " << QString(k).replace(QLatin1Char('\x1f'), QLatin1String(": ")).toStdString();
    for (const QString& k : found - expected)
        ADD_FAILURE() << GetParam().name << " has extra " << QString(k).replace(QLatin1Char('\x1f'), QLatin1String(": ")).toStdString();
}

// The resource chosen for the language type loads and holds exactly what the
// committed catalogue says.
TEST_P(TranslationFiles, CompiledResourceLoadsAndMatchesTheCatalogue)
{
    zorInitInterfaceResources();
    const Language lang = GetParam();
    const QString file = zorTranslationFile(lang.lanuageType);
    EXPECT_EQ(file, QStringLiteral(":/%1.qm").arg(QString::fromLatin1(lang.name)));
    QTranslator translator;
    ASSERT_TRUE(translator.load(file)) << file.toStdString();
    EXPECT_FALSE(translator.isEmpty());
    EXPECT_EQ(translator.language(), QString::fromLatin1(lang.locale));

    const TsFile ts = readTs(QString::fromLatin1(lang.name));
    ASSERT_TRUE(ts.error.isEmpty());
    for (const TsMessage& m : ts.messages) {
        QString text = translator.translate(m.context.toUtf8().constData(), m.source.toUtf8().constData());
        if (text.isEmpty())   // an identical translation may be left out
            text = m.source;
        EXPECT_EQ(text, m.translation) << lang.name << " " << (m.context + QStringLiteral(": ") + m.source).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, TranslationFiles, ::testing::ValuesIn(kLanguages),
                         [](const ::testing::TestParamInfo<Language>& info) { return std::string(info.param.name); });

// The English catalogue installed as start-up installs it.
class EnglishTranslation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        zorInitInterfaceResources();
        ASSERT_TRUE(translator.load(zorTranslationFile(ControllerConfiguration::LANGUAGE_TYPE_ENGLISH)));
        ASSERT_TRUE(QCoreApplication::installTranslator(&translator));
    }
    void TearDown() override { QCoreApplication::removeTranslator(&translator); }

    QTranslator translator;
};

TEST_F(EnglishTranslation, SamplesOfEveryContext)
{
    struct Sample
    {
        const char* context;
        const char* source;
        const char* english;
    };
    const Sample samples[] = {
        // Pages.
        {"MainWindowPage", "交流试验", "AC Test"},
        {"MainWindowPage", "低周减载", "UFLS"},
        {"MainWindowPage", "Output Aux.DC or not?", "Output Aux.DC or not?"},
        {"MainWindowPage", "系统提示", "Tips"},
        {"MainWindowContent", "设备未初始化", "Device not initialised"},
        {"ModelSettingsPage", "额定电压:", "Rated U:"},
        {"ModelSettingsPage", "英文", "English"},
        {"ModelSystemCfgPage", "功放类型", "Amp. type"},
        {"ModelSystemTimeSynPage", "时钟源", "Clock source"},
        {"ModelUartBatCfgPage", "激活充电", "Activate charging"},
        {"ChildTestTimeDialog", "定时设置", "Timer Setting"},
        {"ComputerDistanceDialog", "故障计算", "Fault-Calc"},
        {"ComputerDistanceDialog", "零序补偿系数", "Grounding Factor"},
        {"ComputerDistanceDialog", "Z0/Z1幅值", "Z0/Z1 R"},
        {"ModelAlternatePage", "故障计算", "Calc"},
        {"ModelAlternatePage", "动作返回", "From-to-From"},
        {"ParameterFileFlow", "保存参数成功！", "Save parameters succeed !"},
        {"ModelAlternatePage", "未动作", "No Action"},
        {"ModelDirectPage", "未动作", "No Action"},
        {"ModelDirectPage", "动作返回", "From-to-From"},
        {"ModelHarmonicPage", "谐波含量:", "THD:"},
        {"ModelHarmonicPage", "未测试", "NoTest"},
        {"FileManagerPage", "导出文件成功！", "Export succeeded!"},
        {"ModuleFileDialog", "导入参数失败！", "Import file failed !"},
        {"UpgradeDialog", "升级失败！请联系技术支持。", "Upgrade failed! Please contact technical support."},
        {"ViewBaseModel", "升级失败！请联系技术支持。", "Upgrade failed! Please contact technical support."},
        // Controls.
        {"EditNumberBox", "无效值", "Invalid"},
        {"InputNumberPanel", "回退", "Back"},
        {"InputCharNumberPanel", "确认", "Enter"},
        {"InputDateTimePanel", "年", "Y"},
        {"InputTimePanel", "秒", "s"},
        {"UserDialogFrame", "确定", "OK"},
        {"UserDialogFrame", "取消", "Cancel"},
        {"UserAuxDCDialog", "辅助直流输出设置", "Aux. DC Output"},
        {"UserAuxDCDialog", "关闭", "Off"},
        {"ModelSystemCfgPage", "关闭", "Close"},
        {"UserInputDialog", "请输入", "Please enter"},
        {"UserMultiDialog", "End", "End"},
        {"UserPasswordDialog", "请输入密码...", "Enter password..."},
        {"UserReportDialog", "保存", "Save"},
        {"UserReportParmDialog", "从文件配置参数", "Load file"},
        {"UserSelectedDialog", "请选择", "Please select"},
        {"UserTriggerTimeDialog", "添加时间点", "Add"},
        {"UserUpgradeDialog", "升级文件:", "Upgrade file:"},
        // C++.
        {"CommSOEEntity", "改变输出", "Switch output"},
        {"CommSOEEntity", "由合到开", "On-Off"},
        {"ViewBaseModel", "电流IA开路告警", "Alarm: current IA open circuit"},
        {"ViewBaseModel", "Slip Frequency", "Slip Frequency"},
        {"ViewRampOutputModel", "End", "End Value"},
        {"ViewRampOutputModel", "Deglitch", "Deglitch Time"},
        {"ViewAlternateModel", "Variable port", "Variable phase"},
        {"ViewDirectModel", "Variable port", "Variable phase"},
        {"ViewHarmonicModel", "T.nom", "T.nom"},
        {"ViewHarmonicModel", "失败", "Failed"},
        {"ViewEnergyModel", "该点没有可计数的电能（功率%1，脉冲数%2）：请检查电流、角度、脉冲数和表计类型。",
         "This point has nothing to count (power %1, pulse count %2): check the current, the angle, the pulses and the "
         "meter type."},
        {"ViewSourceTestModel", "终值低于当前输出，不能递增。", "The end value is below the output: cannot ramp up."},
        {"ViewComputerDistanceModel", "故障无法计算，输出值未改变：请检查短路阻抗和计算模型。",
         "The fault cannot be calculated; outputs unchanged: check the short-circuit impedance and the model."},
    };
    for (const Sample& s : samples) {
        EXPECT_EQ(QCoreApplication::translate(s.context, s.source), QString::fromUtf8(s.english))
            << s.context << ": " << s.source;
    }
}

// The engine's event texts go through the catalogue in their own context.
TEST_F(EnglishTranslation, EventTextsOfTheEngine)
{
    CommSOEEntity event;
    event.soeType = CommSOEEntity::SOE_TYPE_BOPLUSE_START;
    EXPECT_EQ(event.getEventText(), QStringLiteral("Start test\n"));
    event.soeType = CommSOEEntity::SOE_TYPE_AO_STOP;
    EXPECT_EQ(event.getEventText(), QStringLiteral("Stop output\n"));
    event.soeType = CommSOEEntity::SOE_TYPE_BI_SWITCH;
    event.outputBIStates[1] = CommSOEEntity::BIO_SWITCH_TYPE_OFF2ON;
    EXPECT_TRUE(event.getEventText().contains(QStringLiteral("DI"))) << event.getEventText().toStdString();
    EXPECT_TRUE(event.getEventText().contains(QStringLiteral("Off-On"))) << event.getEventText().toStdString();
}

} // namespace
