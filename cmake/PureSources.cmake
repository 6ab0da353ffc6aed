# The window-free sources: built into the Windows program and natively for the
# unit tests, fuzz targets and benchmarks. Paths are relative to the repo root.
set(PURE_SOURCES
    framework/core/PathRules.cpp
    view/DumpLine.cpp
    view/ScrollMath.cpp
    view/ViewGeometry.cpp
    dialogs/HexInput.cpp
    dialogs/SearchProgressText.cpp
    doc/PatternScan.cpp
)
