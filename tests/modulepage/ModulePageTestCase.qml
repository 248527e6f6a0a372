import QtQuick 2.15
import QtTest 1.15
import ZOR.ViewBaseModel 1.0

// The module page tests' common steps: taps, typing on the number panel, combo
// choices, dialogs, and the page brought to an idle, known state. Values are
// put in through the page's controls; the model is read to check them.
TestCase {
    id: testCase

    property Item harness: null
    readonly property Item page: harness ? harness.page : null
    readonly property var model: page ? page.viewModel : null

    when: windowShown

    // ---- Controls ------------------------------------------------------------------------
    function control(name) {
        var item = findChild(page, name)
        verify(item, "no control " + name)
        return item
    }

    function tap(name) {
        var item = control(name)
        verify(item.enabled, name + " is disabled")
        verify(item.visible, name + " is hidden")
        mouseClick(item)
        return item
    }

    function panelKey(name) {
        var button = findChild(harness.numberPanel.contentItem, name)
        verify(button, "no key " + name)
        mouseClick(button)
    }

    function keyName(ch) {
        if (ch === ".")
            return "keyPoint"
        if (ch === "-")
            return "keyMinus"
        return "key" + ch
    }

    // Taps a number field, waits for the panel to open for it. A field that
    // still has the focus from an entry before is left first, so that the tap
    // selects its text as a first tap does.
    function openField(name) {
        var box = control(name)
        if (box.inputFocus) {
            harness.forceActiveFocus()
            tryCompare(box, "inputFocus", false)
        }
        mouseClick(box)
        tryCompare(box, "inputFocus", true)
        tryCompare(harness.numberPanel, "opened", true)
        compare(harness.numberPanel.owner, box)
        return box
    }

    // Types text into a number field and confirms it.
    function enter(name, text) {
        var box = openField(name)
        for (var i = 0; i < text.length; ++i)
            panelKey(keyName(text[i]))
        panelKey("keyConfirm")
        tryCompare(harness.numberPanel, "opened", false)
        return box
    }

    // Presses quick key 1 or 2 of a number field, then confirms.
    function quickKey(name, index) {
        var box = openField(name)
        panelKey("quick" + index)
        panelKey("keyConfirm")
        tryCompare(harness.numberPanel, "opened", false)
        return box
    }

    // Chooses entry `index` of a combo through its list.
    function choose(name, index) {
        var combo = control(name)
        verify(combo.enabled, name + " is disabled")
        mouseClick(combo)
        tryCompare(combo.popup, "opened", true)
        var list = combo.popup.contentItem
        list.positionViewAtIndex(index, ListView.Contain)
        var entry = null
        tryVerify(function() { entry = list.itemAtIndex(index); return entry !== null && entry.visible })
        mouseClick(entry)
        tryCompare(combo.popup, "opened", false)
        compare(combo.currentIndex, index)
    }

    function comboTexts(name) {
        var combo = control(name)
        var texts = []
        for (var i = 0; i < combo.count; ++i)
            texts.push(combo.textAt(i))
        return texts
    }

    // ---- Dialogs ------------------------------------------------------------------------------
    // The buttons beside `button` stand side by side (the row of a dialog is
    // laid out again when its reject button appears or goes).
    function laidOut(button) {
        var row = button.parent
        var right = -1
        for (var i = 0; i < row.children.length; ++i) {
            var c = row.children[i]
            if (!c.visible || c.width <= 0)
                continue
            if (c.x < right)
                return false
            right = c.x + c.width
        }
        return true
    }

    // A button of an open dialog, once its row is laid out.
    function popupButton(popup, name) {
        var button = findChild(popup.contentItem, name)
        verify(button, "no " + name)
        verify(button.visible, name + " is hidden")
        tryVerify(function() { return laidOut(button) }, 5000, name + " laid out")
        return button
    }

    // Waits for the message dialog (with `text` when given) and answers it.
    function answerMessage(text, accept) {
        var dialog = page.messageDialog
        tryCompare(dialog, "opened", true)
        if (text !== undefined)
            compare(dialog.content, text)
        mouseClick(popupButton(dialog, accept === false ? "rejectButton" : "acceptButton"))
        tryCompare(dialog, "opened", false)
    }

    // Opens the file dialog from the control bar in one of its modes
    // ("reportMode", "parameterMode", "loadMode").
    function openFile(mode) {
        tap("fileButton")
        var dialog = page.fileDialog
        tryCompare(dialog, "opened", true)
        mouseClick(popupButton(dialog, mode))
        return dialog
    }

    // ---- Page states ----------------------------------------------------------------------------
    function resultText(name) {
        return control(name).text
    }

    function isRunning() {
        return model.getState(ViewBaseModel.STATE_TYPE_RUNNING) !== 0
    }

    function waitRunning(running) {
        tryVerify(function() { return isRunning() === running }, 30000, "engine running " + running)
        tryCompare(page, "running", running, 30000)
        if (!running)
            tryVerify(function() { return !pageBench.outputPlaying() }, 30000, "instrument stopped")
    }

    function showPage() {
        harness.pageArea.visible = true
        tryCompare(page, "visible", true)
        compare(model.getTestActiveType(), harness.module)
    }

    function hidePage() {
        harness.pageArea.visible = false
        tryCompare(page, "visible", false)
        if (isRunning())
            waitRunning(false)
    }

    // Shown, idle, no dialog open: the state each test starts from.
    function idlePage() {
        verify(pageBenchReady, "the engine did not come up on the simulated instrument")
        verify(harness.ready, "relays not wired: " + pageBench.relayErrors())
        verify(page, "no page from " + harness.pageSource)
        compare(page.testType, harness.module)
        var dialogs = [page.messageDialog, page.fileDialog, page.distanceDialog]
        for (var i = 0; i < dialogs.length; ++i) {
            if (!dialogs[i])
                continue                                    // a page without that dialog
            dialogs[i].close()
            tryCompare(dialogs[i], "opened", false)
        }
        harness.numberPanel.close()
        if (!page.visible)
            showPage()
        if (isRunning() || page.running) {
            if (page.running && control("stopButton").visible)
                tap("stopButton")
            waitRunning(false)
        }
        model.clearUserMessage()
    }

    // Waits for a temperature notice the page takes: the power stage's
    // temperature changed, below the resume threshold.
    function waitTemperatureNotice(degC) {
        var seen = false
        var onData = function(type) { if (type === ViewBaseModel.DATA_TYPE_RT_TEMP) seen = true }
        model.sigUpdateDataToView.connect(onData)
        pageBench.setAmplifierTemperature(degC)
        tryVerify(function() { return seen }, 30000, "temperature notice")
        model.sigUpdateDataToView.disconnect(onData)
        verify(model.getRunEnabled())
    }

    // ---- Results at a start -------------------------------------------------------------------
    // What a result field may read from "开始" on: nothing yet, "-" or "NaN"
    // (not measured), testing, not tested.
    readonly property var startTexts: ["", "-", "NaN", "测试中", "未测试", "Testing", "NoTest"]

    // "name=text" of the items under `item` whose objectName matches pattern.
    function namedTexts(item, pattern, found) {
        found = found || []
        if (item.objectName && pattern.test(item.objectName) && item.text !== undefined)
            found.push(item.objectName + "=" + item.text)
        for (var i = 0; i < item.children.length; ++i)
            namedTexts(item.children[i], pattern, found)
        return found
    }

    // With a run's results on the page (the items whose objectName matches
    // pattern): "开始" leaves none of them, at once, while the engine still
    // settles the amplifiers; then the run is waited for.
    function verifyStartShowsNoOldResult(pattern) {
        var unread = function(entry) { return startTexts.indexOf(entry.slice(entry.indexOf("=") + 1)) >= 0 }
        var before = namedTexts(page, pattern)
        verify(!before.every(unread), "no result to start from: " + before)
        tap("startButton")
        compare(namedTexts(page, pattern).filter(function(entry) { return !unread(entry) }), [],
                "results of the run before")
        waitRunning(true)
    }
}
