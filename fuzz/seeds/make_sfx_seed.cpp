// Makes a self-extractor the way the program does, as a seed for the fuzz targets:
//   make_sfx_seed STUB ARCHIVE OUTPUT
#include "zip/SfxSettingsBlock.h"
#include "zip/SfxWriter.h"

#include <QString>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s STUB ARCHIVE OUTPUT\n", argv[0]);
        return 2;
    }
    SfxSettingsBlock settings;
    settings.Caption = QStringLiteral("Seed");
    settings.CommandLine = QStringLiteral("><");
    const SfxWriter::Request request{QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]), settings.Build(),
                                     QString::fromLocal8Bit(argv[3])};
    const int code = SfxWriter::Write(request);
    if (code != SfxWriter::kSuccess)
        std::fprintf(stderr, "%s: conversion failed (%d)\n", argv[3], code);
    return code == SfxWriter::kSuccess ? 0 : 1;
}
