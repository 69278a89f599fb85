// The pictures of the fitting wizard, drawn by code: a small sample graph of
// each kind of curve (128 x 168) and the copy button's picture.
#pragma once

#include <QPixmap>

namespace tracemont {

// Picture ids of the wizard's pages.
namespace picture {
constexpr int kGeneral = 301;  // step 1 and user defined functions
constexpr int kRegression = 302;
constexpr int kPieceLinear = 303;
constexpr int kClosedSpline = 304;
constexpr int kSections = 305;
constexpr int kCopy = 318;
constexpr int kLogistic = 319;
constexpr int kFourier = 320;
constexpr int kNeural = 321;
constexpr int kNonLinear = 322;
}  // namespace picture

// The picture of a method id ("Best" is the regression picture).
int PictureOfMethod(int methodId);

// The 128 x 168 sample graph of a picture id (unknown ids give the general
// picture); the copy picture is 20 x 20.
QPixmap MethodPicture(int pictureId);

}  // namespace tracemont
