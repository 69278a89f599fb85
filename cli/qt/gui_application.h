// The application object the Qt-backed subcommands need.
#pragma once

#include <QGuiApplication>
#include <memory>

namespace tracemont::cli {

// Qt needs an application object for image decoders, fonts and painting;
// without a display the offscreen platform serves. Keep it for the one
// command only, so that it is gone before static objects are destroyed.
std::unique_ptr<QGuiApplication> MakeGuiApplication();

}  // namespace tracemont::cli
