.pragma library

// Pure helpers of the macro editor: names, list order, event texts.

// A loop-count text as the mouse takes it: 0 … 65535, 1 for a non-number.
function loopCount(text) {
    var n = parseInt(text)
    return isNaN(n) ? 1 : Math.max(0, Math.min(65535, n))
}

// How many macros the editor keeps.
var maxMacros = 100

// "Macro_" and the first number 0 … 99 no macro uses yet; "" when all are taken.
function freeName(names) {
    for (var n = 0; n < maxMacros; ++n) {
        if (names.indexOf("Macro_" + n) < 0)
            return "Macro_" + n
    }
    return ""
}

// The list order at start: by no, entries with equal no in name-list order.
// entries: [{macroName, no, macroType}] in name-list order.
function ordered(entries) {
    var keyed = entries.map(function (entry, at) { return { entry: entry, at: at } })
    keyed.sort(function (a, b) { return a.entry.no - b.entry.no || a.at - b.at })
    return keyed.map(function (k) { return k.entry })
}

// "1,A" for the file; the reader takes the first character as type and the rest from the third.
function entryText(type, info) {
    return type + "," + info
}

function parseEntry(text) {
    text = String(text)
    return { type: parseInt(text.charAt(0)), info: text.substring(2) }
}

