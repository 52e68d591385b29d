#pragma once
// Rotations by quaternion and the projection of map points to the screen, with
// the conventions of the original 3D mathematics: row vectors times matrices,
// yaw about y, pitch about x, roll about z.
#include "core/geometry.h"

namespace kiv {

// One component of the point (a, b, 0) rotated by the unit quaternion q.
float QuaternionRotatePlanarX(float a, float b, const Quaternion& q);
float QuaternionRotatePlanarY(float a, float b, const Quaternion& q);
float QuaternionRotatePlanarZ(float a, float b, const Quaternion& q);

// The rotation that turns by angleZ about z first, then by angleX about x, then
// by angleY about y.
Quaternion QuaternionFromYawPitchRoll(float angleX, float angleY, float angleZ);

// Three angles of a quaternion (x, y, z in the vector's fields). They give the
// quaternion back through QuaternionFromYawPitchRoll when the x or z angle is 0.
Vector3 QuaternionToEuler(const Quaternion& q);

// The point transformed by world, view and projection and mapped into the
// viewport: x and y in screen pixels, z the depth between MinZ and MaxZ.
Vector3 ProjectToScreen(float x, float y, float z, const Viewport& viewport, const Matrix4& projection,
                        const Matrix4& view, const Matrix4& world);

}  // namespace kiv
