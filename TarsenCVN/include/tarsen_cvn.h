#pragma once
// Public interface of the Tarsen converter library: the entry the desktop
// program binds by name, and a headless entry for the command line and for
// anything else that must answer the converter's questions itself.
//
// Nothing crosses the boundary but the arguments and the returned integer;
// every string handed to a callback is valid only during that call.

#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#if defined(_WIN32)
#define TARSEN_STDCALL __stdcall
#if defined(TARSENCVN_BUILDING)
#define TARSEN_API __declspec(dllexport)
#else
#define TARSEN_API __declspec(dllimport)
#endif
#else
#define TARSEN_STDCALL
#define TARSEN_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Boundary methods of TarsenOptions::boundaryMethod.
#define TARSEN_BOUNDARY_PRESSURE 0  // up-looking deployments
#define TARSEN_BOUNDARY_ACOUSTIC 1  // down-looking deployments

// Kinds of TarsenCallbacks::message.
#define TARSEN_MESSAGE_ERROR 0
#define TARSEN_MESSAGE_NOTE 1

typedef struct TarsenOptions {
    // Cells to convert, numbered from 1, in this order; with no cells the
    // default Center cell of the file is converted.
    const int32_t* cells;
    int32_t cellCount;
    int32_t removeLowSnr;    // nonzero = on
    int32_t removeSpikes;    // nonzero = on
    int32_t removeBoundary;  // nonzero = on
    int32_t boundaryMethod;  // TARSEN_BOUNDARY_PRESSURE or TARSEN_BOUNDARY_ACOUSTIC
} TarsenOptions;

// Every member may be null; a missing askTimeGlitch answers "Yes".
typedef struct TarsenCallbacks {
    void* context;
    // The time-glitch question of a cell (text with "\r" line breaks).
    // Nonzero answers Yes: the glitching records are dropped and the
    // conversion goes on; zero answers No: the rest of the cell is dropped.
    int32_t (*askTimeGlitch)(void* context, int32_t cell, const char* text);
    // Errors and notes the user must see; UTF-8 with "\r" line breaks.
    void (*message)(void* context, int32_t kind, const char* text);
    // Share of the input read for the cell being converted, 0..100.
    void (*progress)(void* context, int32_t percent);
    // After each cell: converted is nonzero when the cell's files are
    // complete; the names are those of the files written (or meant to be).
    void (*cellDone)(void* context, int32_t cell, int32_t converted, const char* measurementFile,
                     const char* referenceFile);
} TarsenCallbacks;

// Converts the cells of the instrument file at pathUtf8 into measurement and
// reference files beside it. Returns 0 when every cell was converted, -1
// when the file could not be read or refused, or any cell failed.
TARSEN_API int32_t TarsenConvert(const char* pathUtf8, const TarsenOptions* options, const TarsenCallbacks* callbacks);

// The desktop program's import entry (on 32-bit Windows `_CreateCVNFiles@4`).
// Shows the import dialog, where the user chooses up to three cells and the
// quality control; returns the first cell written, 0 when the user cancelled
// or chose nothing, -1 when the file could not be read or a cell failed.
// A build without widgets, or a process without an application object,
// converts the default Center cell with every quality check on instead.
TARSEN_API int32_t TARSEN_STDCALL CreateCVNFiles(const char16_t* path);

#ifdef __cplusplus
}
#endif
