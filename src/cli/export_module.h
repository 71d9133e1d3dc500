#pragma once
// The one entry point of the export module (raysketcher-export.so): plain C types only, so the
// program and the module share no C++ object across the boundary. The module loads and solves
// the design from the settings file's bytes itself, as the program did for its text output.
#include <stddef.h>

extern "C" {

// Raised whenever the job's layout or meaning changes; a module of another version is refused.
#define RAYSKETCHER_EXPORT_ABI 2
#define RAYSKETCHER_EXPORT_ENTRY "raysketcher_export_v2"

struct RaysketcherExportJob {
    int abi;                   // RAYSKETCHER_EXPORT_ABI
    const char* settingsPath;  // where the settings file lies
    const char* settingsText;  // its bytes as read (Windows-1252), not NUL-terminated
    size_t settingsSize;
    const char* pdf;  // file names; null when not wanted
    const char* svg;
    const char* png;
    int width;  // picture size in pixels
    int height;
    // Above 0: the SVG and PNG show the design's study (its stored choice) with this many
    // points instead of its drawing.
    long long studyPoints;
    // Receives the German messages for the user, one or more lines ending in '\n'.
    void (*report)(void* context, const char* text, size_t size);
    void* context;
};

// Results of the entry point.
enum RaysketcherExportStatus {
    kRaysketcherExportWritten = 0,
    kRaysketcherExportRefused = 1,  // incomplete selection: no report
    kRaysketcherExportFailed = 3,   // a file could not be written
};

typedef int (*RaysketcherExportEntry)(const struct RaysketcherExportJob* job);
}
