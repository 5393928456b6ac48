// The window's empty-zip template, "SFEmptyZip": a held 22-byte zip that is only an
// end-of-central-directory record. New dir/zip copies the file at its FileName.
#pragma once

#include <memory>

class TFileSource;

// The component, loaded: its FileName is a fresh temporary file. When the file
// cannot be written the component holds none (FileName is ""), so making a zip
// fails with its own message instead of the window failing to start.
std::unique_ptr<TFileSource> MakeEmptyZipSource();
