#ifndef ZENDRIK_FUZZ_FUZZSUPPORT_H
#define ZENDRIK_FUZZ_FUZZSUPPORT_H

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

// What every fuzz target shares. A target is one LLVMFuzzerTestOneInput calling the real reader
// on the bytes it is given; built with the fuzz preset libFuzzer drives it, built normally
// ReplayMain.cpp feeds it every file of its corpus.

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fuzz {

// Ends the process with a message when a property of the reader does not hold: libFuzzer keeps
// the input as a finding, the replay fails its test.
void Check(bool condition, const char* what);

// A folder of this process for the files a reader must find on disk (on tmpfs when the machine
// has one, so that a million inputs do not wear a disk), removed at exit.
const QString& ScratchFolder();
// Replaces relativePath below the scratch folder by bytes; returns its absolute path.
QString WriteScratchFile(const QString& relativePath, const QByteArray& bytes);
// Empties a folder below the scratch folder (creating it when missing); returns its path.
QString FreshScratchFolder(const QString& relativePath);

// The Qt application some readers need (fonts, image readers), headless, made once.
void EnsureGuiApplication();

// Takes the choices a target makes from the front of the input, the rest is the text to read.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Byte();
    uint32_t U32();
    bool Flag() { return (Byte() & 1) != 0; }
    // Up to n bytes.
    QByteArray Take(size_t n);
    // Bytes up to the next byte `separator` (dropped) or to the end.
    QByteArray Until(char separator);
    QByteArray Rest();
    bool Empty() const { return pos_ >= size_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

} // namespace fuzz

#endif
