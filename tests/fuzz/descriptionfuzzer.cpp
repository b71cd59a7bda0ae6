// libFuzzer entry point for the material description reader (normal.xml, preview.xml).
#include "descriptiontarget.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray xml = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString problem = DescriptionTarget::run(xml);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "broken promise: %s\n", qPrintable(problem));
        std::abort();
    }
    return 0;
}
