// libFuzzer entry point for the SWF reader and the reading of a movie's host calls.
#include "swftarget.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray movie = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString problem = SwfTarget::run(movie);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "broken promise: %s\n", qPrintable(problem));
        std::abort();
    }
    return 0;
}
