// libFuzzer entry point; FUZZ_READER picks the reader this program aims at.
#include "fuzztarget.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray xml = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString problem = FuzzTarget::run(FuzzTarget::FUZZ_READER, xml);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "broken promise: %s\n", qPrintable(problem));
        std::abort();
    }
    return 0;
}
