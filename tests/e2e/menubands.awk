# Reads ImageMagick's pixel listing (txt:, 8 bits) of one open popup menu,
# cropped to the menu, and prints its entries from top to bottom, one band of
# rows each: "T top bottom" for a line of text, "S top bottom" for a
# separator, in the menu's own pixel rows. The frame is left out.
#
# Text is any dark pixel; a separator is a grey line across most of the width.
BEGIN { FS = "[,:() ]+" }
/^#/ {
  split($0, header, /[:,]/)
  width = header[2] + 0
  height = header[3] + 0
  next
}
{
  x = $1; y = $2; r = $3; g = $4; b = $5
  if (x < 3 || x >= width - 3 || y < 2 || y >= height - 2) next
  brightest = r > g ? (r > b ? r : b) : (g > b ? g : b)
  if (brightest < 110) dark[y]++
  else if (r >= 140 && r <= 190 && (r - g) ^ 2 < 64 && (g - b) ^ 2 < 64) grey[y]++
}
END {
  bands = 0
  for (y = 2; y < height - 2; y++) {
    kind = grey[y] > 0.6 * (width - 6) ? "S" : (dark[y] ? "T" : "")
    if (kind == "") continue
    if (bands && kinds[bands] == kind && bottoms[bands] == y - 1) {
      bottoms[bands] = y
    } else {
      kinds[++bands] = kind
      tops[bands] = y
      bottoms[bands] = y
    }
  }
  for (i = 1; i <= bands; i++) print kinds[i], tops[i], bottoms[i]
}
