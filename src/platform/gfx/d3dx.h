#pragma once
// The utility functions the player takes from the helper library: textures
// from image bytes, shader assembly, and the matrix, vector and quaternion
// helpers in the row-vector, left-handed conventions of the device.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/d3d_types.h"
#include "platform/gfx/resources.h"

namespace kiv::gfx {

class Device;

inline constexpr std::uint32_t kFilterNone = 1;
inline constexpr std::uint32_t kFilterPoint = 2;
inline constexpr std::uint32_t kFilterLinear = 3;

// Decodes BMP, PNG, JPG, TGA (and the other stb_image formats) or DDS.
// Width and height 0 keep the image's size; other sizes resample (point).
// Pixels equal to colorKey (ARGB, 0 = none) become transparent black.
HResult CreateTextureFromFileInMemoryEx(Device& device, const std::uint8_t* bytes, std::size_t length,
                                        std::uint32_t width, std::uint32_t height, std::uint32_t mipLevels,
                                        std::uint32_t usage, std::uint32_t format, std::uint32_t pool,
                                        std::uint32_t filter, std::uint32_t mipFilter, std::uint32_t colorKey,
                                        TexturePtr& out);

// Image bytes to ARGB pixels (rows top-down) with the colour key applied; no GL.
bool DecodeImageArgb(const std::uint8_t* bytes, std::size_t length, std::uint32_t colorKey,
                     std::vector<std::uint32_t>& argb, std::uint32_t& width, std::uint32_t& height);

// Assembles vs.1.x or ps.1.x text. On success program holds the packed
// program and errors is empty; otherwise errors holds the messages.
HResult AssembleShader(const std::string& source, std::uint32_t flags, std::vector<std::uint8_t>& program,
                       std::string& errors);

// Matrices: product a x b (a first), look-at and projections.
Matrix MatrixMultiply(const Matrix& a, const Matrix& b);
Matrix MatrixIdentity();
Matrix MatrixLookAtLH(const Vector3& eye, const Vector3& at, const Vector3& up);
Matrix MatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar);
// An off-centre perspective: the view volume's sides at the near plane are
// left .. right and bottom .. top; depth runs 0 at zNear to 1 at zFar.
Matrix MatrixPerspectiveOffCenterLH(float left, float right, float bottom, float top, float zNear,
                                    float zFar);
Matrix MatrixOrthoLH(float width, float height, float zNear, float zFar);
Matrix MatrixOrthoOffCenterLH(float left, float right, float bottom, float top, float zNear, float zFar);
Matrix MatrixRotationX(float angle);
Matrix MatrixRotationY(float angle);
Matrix MatrixRotationZ(float angle);
Matrix MatrixTranslation(float x, float y, float z);
Matrix MatrixScaling(float x, float y, float z);
Matrix MatrixTranspose(const Matrix& m);
Matrix MatrixInverse(const Matrix& m);
Vector3 Vec3TransformCoord(const Vector3& v, const Matrix& m);
// A direction through the upper 3 x 3 of m: the translation does not apply.
Vector3 Vec3TransformNormal(const Vector3& v, const Matrix& m);
// The world point that a screen point (pixels, depth 0 near to 1 far) of the
// viewport comes from through world, view and projection.
Vector3 Vec3Unproject(const Vector3& screen, const Viewport& viewport, const Matrix& projection,
                      const Matrix& view, const Matrix& world);

// The plane a x + b y + c z + d = 0.
struct Plane {
  float a = 0, b = 0, c = 0, d = 0;
};
Plane PlaneFromPointNormal(const Vector3& point, const Vector3& normal);
// Where the line through p1 and p2 meets the plane; false (out untouched) for
// a line parallel to it.
bool PlaneIntersectLine(const Plane& plane, const Vector3& p1, const Vector3& p2, Vector3& out);

struct Quaternion {
  float x = 0, y = 0, z = 0, w = 1;
};
Quaternion QuaternionRotationAxis(const Vector3& axis, float angle);
Quaternion QuaternionRotationYawPitchRoll(float yaw, float pitch, float roll);
Quaternion QuaternionMultiply(const Quaternion& a, const Quaternion& b);  // rotation a, then b
Quaternion QuaternionSlerp(const Quaternion& a, const Quaternion& b, float t);
Quaternion QuaternionNormalize(const Quaternion& q);
Matrix MatrixRotationQuaternion(const Quaternion& q);

}  // namespace kiv::gfx
