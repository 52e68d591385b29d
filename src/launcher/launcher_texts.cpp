#include "launcher/launcher_texts.h"

namespace kiv {
namespace {

// The launcher looks for its payloads in the first 512-byte block of its own file
// that begins with the mark, so the program itself must hold no such block. These
// texts are therefore kept in one array aligned to 512 bytes: a loaded section keeps
// its address modulo the page size as its file offset, so the array starts a block in
// the file as well, and no copy of the mark inside it sits at a multiple of 512.
// Other files read the texts only through the pointers below, so the compiler cannot
// fold them into literals placed elsewhere, and this file is compiled without debug
// information, which would copy the array's contents to an arbitrary offset.
alignas(512) const char kTextBlock[] =
    "\0Kiv"
    "\0InstallKiv.exe"
    "\0You cannot run SetupKiv directly.";

}  // namespace

const char* const kProductMark = kTextBlock + 1;
const char* const kInstallerFileName = kTextBlock + 5;
const char* const kNotBundledMessage = kTextBlock + 20;

}  // namespace kiv
