.pragma library

// The columns of a result table: each as wide as its widest text, at one
// pixel size for the whole table.

// No text of a table is drawn smaller than this (pixels).
var smallestPixelSize = 12

// One size and the column widths for a table `room` wide. widest[c] is the
// widest text column c shows, measured at pixelSize; padding what a column
// adds around its text; designed[c] the width the page gives column c. The
// size is pixelSize when every text fits at it, else the largest size at
// which all fit side by side, never under smallestPixelSize. A column is at
// least as wide as its text at that size; what the room leaves over keeps
// the page's proportions, taken from the columns wider than their texts.
//   returns { pixelSize, widths }
function fit(widest, padding, designed, room, pixelSize) {
    var sum = function(values) {
        return values.reduce(function(a, b) { return a + b }, 0)
    }
    // The widths the texts take at a size, each rounded up.
    var needsAt = function(size) {
        return widest.map(function(w) { return Math.ceil(w * size / pixelSize) + padding })
    }
    var size = pixelSize
    var needs = needsAt(size)
    while (size > smallestPixelSize && sum(needs) > room)
        needs = needsAt(--size)
    var n = widest.length
    var designedTotal = sum(designed)
    var widths = []
    for (var c = 0; c < n; ++c)
        widths.push(Math.max(needs[c], designedTotal > 0 ? designed[c] * room / designedTotal : 0))
    var total = sum(widths)
    // Too wide together: the columns with room to spare give it up in
    // proportion to what they spare.
    var spare = 0
    for (c = 0; c < n; ++c)
        spare += widths[c] - needs[c]
    var excess = total - room
    if (excess > 0 && spare > 0) {
        var share = Math.min(1, excess / spare)
        for (c = 0; c < n; ++c)
            widths[c] -= (widths[c] - needs[c]) * share
    }
    return { pixelSize: size, widths: widths.map(function(w) { return Math.floor(w) }) }
}
