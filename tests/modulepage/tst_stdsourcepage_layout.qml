import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// The idle standard source page: rows, labels, element choices and the open
// power field by mode; the sense list by factor; the limits of the angle and
// power fields. Values go in through the controls and are checked in the model.
Item {
    id: root
    width: 800
    height: 480

    ModulePageHarness {
        id: harness
        module: ViewBaseModel.TEST_STDSOURCE
        pageSource: "qrc:/QMLPages/StdSource/ModelStdSourcePage.qml"
        relays: "none"
    }

    ModulePageTestCase {
        name: "StdSourcePageLayout"
        harness: harness

        function init() {
            idlePage()
        }

        function test_rowsLabelsAndFieldsFollowTheMode_data() {
            var two = ["二元件", "A元件", "C元件"]
            return [
                { tag: "V active", mode: 2, rows: [1, 0, 1, 1, 0, 1], labels: ["Uab", "Ucb"], elements: two,
                  active: true },
                { tag: "V reactive", mode: 5, rows: [1, 0, 1, 1, 0, 1], labels: ["Uab", "Ucb"], elements: two,
                  active: false },
                { tag: "three-element 90 degrees", mode: 7, rows: [1, 1, 1, 1, 1, 1], labels: ["Ubc", "Uab"],
                  elements: ["三元件", "A元件", "B元件", "C元件"], active: false },
                { tag: "single after 90 degrees", before: 7, mode: 0, rows: [1, 0, 0, 1, 0, 0], labels: ["Ua", "Uc"],
                  elements: ["分元无效"], active: true },
            ]
        }
        function test_rowsLabelsAndFieldsFollowTheMode(row) {
            if (row.before !== undefined)
                choose("workModeBox", row.before)
            choose("workModeBox", row.mode)
            compare(model.getWorkMode(), row.mode)
            var names = ["rowUPA", "rowUPB", "rowUPC", "rowIQA", "rowIQB", "rowIQC"]
            for (var i = 0; i < names.length; ++i)
                compare(control(names[i]).visible, row.rows[i] === 1, names[i])
            compare(control("portLabel0").text, row.labels[0])
            compare(control("portLabel2").text, row.labels[1])
            compare(comboTexts("elementBox"), row.elements)
            compare(control("elementBox").enabled, row.mode !== 0)
            compare(control("activeBox").enabled, row.active)
            compare(control("reactiveBox").enabled, !row.active)
            for (var p = 0; p < 6; ++p)
                compare(Number(control("outputRange" + p).dataValue), model.getOutputRange(p))
        }

        function test_twoElementChoiceCIsElementC() {
            choose("workModeBox", 2)
            choose("elementBox", 2)
            compare(model.getComponentSel(), 2)
            compare(model.getOutputRange(5), model.getSrcCurrentAmp())      // IC on
            compare(model.getOutputRange(3), 0)                              // IA off
            compare(control("outputRange5").text, control("currentBox").text)
        }

        function test_senseFollowsTheFactor() {
            choose("workModeBox", 1)
            enter("factorBox", "0.5")
            compare(comboTexts("senseBox"), ["L", "C"])
            compare(control("senseBox").currentIndex, 0)
            choose("senseBox", 1)
            compare(model.getFactorType(), 1)
            enter("factorBox", "1")
            compare(model.getFactorType(), 2)
            compare(comboTexts("senseBox"), ["L", "C", " "])
            compare(control("senseBox").currentIndex, 2)
            verify(!control("senseBox").enabled)
            enter("factorBox", "0.8")
            compare(model.getFactorType(), 0)
            compare(comboTexts("senseBox"), ["L", "C"])
            compare(control("senseBox").currentIndex, 0)
            verify(control("senseBox").enabled)
        }

        function test_angleAndPowerEntriesAreHeldToTheirLimits() {
            choose("workModeBox", 1)
            enter("phaseBox", "30")
            compare(model.getFactorType(), 0)
            // 400 is held to 360: an active mode then has PF 1 without a sense.
            enter("phaseBox", "400")
            compare(model.getPowerFactor(), 1)
            compare(model.getFactorType(), 2)
            compare(control("factorBox").text, "1.000000")
            compare(control("phaseBox").text, "0.000")

            // Above the active limit: the limit, and the total shown is that.
            enter("activeBox", "100000")
            fuzzyCompare(model.getActivePower(), model.getMaxActivePower(), 1e-6)
            compare(control("activeBox").text, control("activeBox").dataMax.toFixed(3))
            fuzzyCompare(Number(control("apparentBox").dataValue), model.getApprentPower(), 1e-9)
            // Three elements give more than the entry limit: shown as the model has it.
            enter("currentBox", "5")
            verify(model.getActivePower() > control("activeBox").dataMax)
            fuzzyCompare(Number(control("activeBox").dataValue), model.getActivePower(), 1e-9)
        }
    }
}
