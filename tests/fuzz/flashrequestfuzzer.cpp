// libFuzzer entry point for the bridge between movies and the shell.
#include "flashrequesttarget.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString problem = FlashRequestTarget::run(input);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "broken promise: %s\n", qPrintable(problem));
        std::abort();
    }
    return 0;
}
