// Obtaining an OpenGL surface for a diagram view, and telling the user once
// when none can be had.
#pragma once

#include <QString>
#include <QSurfaceFormat>
#include <functional>

enum class SurfaceFailure {
  kNone,
  kNoFormat,        // no context of a usable format could be created
  kCannotActivate,  // a context exists but cannot be made current and drawn into
};

// Double-buffered RGBA with 24 colour bits and a 32-bit depth buffer, in a
// compatibility profile so that immediate mode and GLU work. The system may
// hand back the closest format it has.
QSurfaceFormat RequestedSurfaceFormat();

// "ChoosePixelFormat Failed", "SetPixelFormat Failed", or empty for kNone.
QString SurfaceFailureText(SurfaceFailure failure);

// Shows the failure text to the user. By default a modal message box with no
// owner, no title and an OK button; tests install their own to see it without
// anyone clicking. An empty function restores the message box.
using SurfaceFailureReporter = std::function<void(const QString& text)>;
void SetSurfaceFailureReporter(SurfaceFailureReporter reporter);
void ReportSurfaceFailure(SurfaceFailure failure);

// Makes every later surface set-up fail in the given way (kNone: only as the
// system itself fails). Until it is called, the environment variable
// VERIDRIFT_FORCE_SURFACE_FAILURE=choose|set does the same for a whole process,
// so that the failure path can be exercised where OpenGL works.
void ForceSurfaceFailure(SurfaceFailure failure);
SurfaceFailure ForcedSurfaceFailure();
