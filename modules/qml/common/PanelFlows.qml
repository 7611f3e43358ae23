import QtQml

// Walks the send plan of a whole-profile flow (start-up, switch, reset, load) over the panels:
// which panel re-reads the current profile or sends it too, in which order. The command line
// walks the same plan, so both send the same bytes.
QtObject {
    // Panel by the plan's name: keys, axes, dpi, lighting, reportRate, pointerSpeed,
    // doubleClick, scrollLines, liftOff.
    property var panels: ({})
    // Plays the macro of a macro button: sendMacro(button, macroName).
    property var macroEditor: null
    property int model: 0

    function run(flow) {
        var steps = pageRules.sendPlan(flow, model)
        for (var i = 0; i < steps.length; ++i) {
            var step = steps[i]
            if (step.panel === "macroButtons")
                sendMacros()
            else if (step.action === "refresh")
                panels[step.panel].refresh()
            else
                panels[step.panel].init(step.action === "send")
        }
    }

    // Type 0x0A is a macro button; its fourth value picks the macro.
    function sendMacros() {
        for (var i = 0; i < 16; ++i) {
            var definition = ui_View.getKeydefine(i)
            if (definition.length >= 4 && parseInt(definition[0]) === 0x0A)
                macroEditor.sendMacro(i, ui_View.getMacroKey(parseInt(definition[3])))
        }
    }
}
