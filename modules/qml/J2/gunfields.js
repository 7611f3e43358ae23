.pragma library

// Field rules of the recoil editor: what a field holds once the user leaves it.

var maxEntries = 100
var newEntry = { gunKey: "L-Click", gunPeriod: "10", gunX: "0", gunY: "-10", gunTimes: "0" }

// Digits only (the validators let nothing else through), clamped, without leading zeros.
function clamp(text, empty, low, high) {
    if (text === "" || text === "-")
        return empty
    var value = parseInt(text, 10)
    if (isNaN(value))
        return empty
    return String(Math.max(low, Math.min(high, value)))
}

function cleanPeriod(text) { return clamp(text, "10", 0, 255) }
function cleanDeviation(text) { return clamp(text, "0", -127, 127) }
function cleanTimes(text) { return clamp(text, "0", 0, 255) }

// "Gun" and the first number 0 ... 99 not in names; "" when all are taken.
function firstFreeName(names) {
    for (var n = 0; n < maxEntries; ++n) {
        if (names.indexOf("Gun" + n) < 0)
            return "Gun" + n
    }
    return ""
}

// A name no other entry has.
function nameFree(name, names, ownIndex) {
    var at = names.indexOf(name)
    return at < 0 || at === ownIndex
}
