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
    var n = widest.length
    var text = 0
    var designedTotal = 0
    for (var c = 0; c < n; ++c) {
        text += widest[c]
        designedTotal += designed[c] || 0
    }
    var size = pixelSize
    if (text > 0 && text + n * padding > room)
        size = Math.max(smallestPixelSize, Math.min(pixelSize, Math.floor(pixelSize * (room - n * padding) / text)))
    var needs = []
    var widths = []
    var total = 0
    for (c = 0; c < n; ++c) {
        needs.push(Math.ceil(widest[c] * size / pixelSize) + padding)
        widths.push(Math.max(needs[c], designedTotal > 0 ? (designed[c] || 0) * room / designedTotal : 0))
        total += widths[c]
    }
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
