#ifndef ZENDRIK_TESTS_PICTURESUPPORT_H
#define ZENDRIK_TESTS_PICTURESUPPORT_H

#include <QImage>
#include <QRect>
#include <QString>
#include <vector>

// Reading what a user sees in a drawn chart: text ink and the boxes around it.
namespace picture {

// Writes the picture as test-pictures/<name>.png in the build folder, to be looked at.
void Save(const QImage& image, const QString& name);

// Largest channel difference of two colours.
int Distance(QRgb a, QRgb b);

// A box of one fill colour with the text ink it encloses.
struct InkBox {
    QRect Box;                // bounds of the fill
    QRect Ink;                // bounds of the ink
    std::vector<QRect> Lines; // each band of rows holding text strokes, top to bottom
};

struct InkReport {
    std::vector<InkBox> Boxes; // the boxes that hold ink, in the order their ink is met
    int Ink = 0;               // ink pixels
    int Loose = 0;             // ink pixels that no box encloses
};

// Ink is every pixel within 40 of the text colour. An ink pixel is enclosed when the four walks
// from it (left, right, up, down) cross only ink and its blends into the fill and each reaches
// the fill of one and the same box or the box's frame: text that runs out of its box has ink
// from which a walk gets out, and that ink is loose.
InkReport FindInk(const QImage& image, QRgb fill, QRgb ink, QRgb frame = qRgb(0, 0, 0));

// A box holding two lines of text, the first wider: the narrower second one shows the alignment.
// Centred, both lines share a centre with each other and with the box; otherwise they end
// together, nearer the box's right than the narrower one starts from its left.
void ExpectTwoAlignedLines(const InkBox& box, bool centred);

// The box shows its whole text: every pixel the text changes where it is drawn alone on the
// fill (alone) shows the same in the picture, lined up by the top-left corner of the ink.
void ExpectWholeText(const QImage& image, const InkBox& box, const QImage& alone, QRgb fill, QRgb ink);

} // namespace picture

#endif
