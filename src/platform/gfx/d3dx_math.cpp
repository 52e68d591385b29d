#include <cstring>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "platform/gfx/d3dx.h"

// A row-vector matrix has the same memory as glm's column-vector matrix of the
// same transform, so glm's builders give our matrices directly and the product
// a x b (a applied first) is glm's b * a.
namespace kiv::gfx {
namespace {

glm::mat4 G(const Matrix& m) {
  glm::mat4 g;
  std::memcpy(glm::value_ptr(g), &m.m[0][0], sizeof(float) * 16);
  return g;
}

Matrix M(const glm::mat4& g) {
  Matrix m;
  std::memcpy(&m.m[0][0], glm::value_ptr(g), sizeof(float) * 16);
  return m;
}

glm::vec3 V(const Vector3& v) { return {v.x, v.y, v.z}; }

// glm quaternions rotate column vectors; ours rotate row vectors the same way.
glm::quat Q(const Quaternion& q) { return glm::quat(q.w, q.x, q.y, q.z); }
Quaternion Q(const glm::quat& q) { return {q.x, q.y, q.z, q.w}; }

}  // namespace

Matrix MatrixMultiply(const Matrix& a, const Matrix& b) { return M(G(b) * G(a)); }
Matrix MatrixIdentity() { return Matrix{}; }

Matrix MatrixLookAtLH(const Vector3& eye, const Vector3& at, const Vector3& up) {
  return M(glm::lookAtLH(V(eye), V(at), V(up)));
}

Matrix MatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar) {
  return M(glm::perspectiveLH_ZO(fovY, aspect, zNear, zFar));
}

Matrix MatrixPerspectiveOffCenterLH(float left, float right, float bottom, float top, float zNear,
                                    float zFar) {
  // glm's left-handed frustum keeps the right-handed signs of the two
  // off-centre terms, which would shift the picture the wrong way; this one
  // puts x = left at the near plane on -1 and x = right on +1.
  glm::mat4 g = glm::frustumLH_ZO(left, right, bottom, top, zNear, zFar);
  g[2][0] = (left + right) / (left - right);
  g[2][1] = (top + bottom) / (bottom - top);
  return M(g);
}

Matrix MatrixOrthoLH(float width, float height, float zNear, float zFar) {
  return M(glm::orthoLH_ZO(-width / 2, width / 2, -height / 2, height / 2, zNear, zFar));
}

Matrix MatrixOrthoOffCenterLH(float left, float right, float bottom, float top, float zNear, float zFar) {
  return M(glm::orthoLH_ZO(left, right, bottom, top, zNear, zFar));
}

// Positive angles turn clockwise when looking along the axis toward the origin
// (left-handed), which is glm's rotation of the same angle.
Matrix MatrixRotationX(float angle) { return M(glm::rotate(glm::mat4(1), angle, glm::vec3(1, 0, 0))); }
Matrix MatrixRotationY(float angle) { return M(glm::rotate(glm::mat4(1), angle, glm::vec3(0, 1, 0))); }
Matrix MatrixRotationZ(float angle) { return M(glm::rotate(glm::mat4(1), angle, glm::vec3(0, 0, 1))); }
Matrix MatrixTranslation(float x, float y, float z) { return M(glm::translate(glm::mat4(1), glm::vec3(x, y, z))); }
Matrix MatrixScaling(float x, float y, float z) { return M(glm::scale(glm::mat4(1), glm::vec3(x, y, z))); }
Matrix MatrixTranspose(const Matrix& m) { return M(glm::transpose(G(m))); }
Matrix MatrixInverse(const Matrix& m) { return M(glm::inverse(G(m))); }

Vector3 Vec3TransformCoord(const Vector3& v, const Matrix& m) {
  const glm::vec4 r = G(m) * glm::vec4(v.x, v.y, v.z, 1.0f);
  const float w = r.w != 0 ? r.w : 1.0f;
  return {r.x / w, r.y / w, r.z / w};
}

Vector3 Vec3TransformNormal(const Vector3& v, const Matrix& m) {
  const glm::vec3 r = glm::mat3(G(m)) * V(v);
  return {r.x, r.y, r.z};
}

Vector3 Vec3Unproject(const Vector3& screen, const Viewport& viewport, const Matrix& projection,
                      const Matrix& view, const Matrix& world) {
  const float depthRange = viewport.maxZ - viewport.minZ;
  const Vector3 clip{(screen.x - static_cast<float>(viewport.x)) * 2.0f / static_cast<float>(viewport.width) - 1.0f,
                     1.0f - (screen.y - static_cast<float>(viewport.y)) * 2.0f / static_cast<float>(viewport.height),
                     depthRange != 0 ? (screen.z - viewport.minZ) / depthRange : screen.z};
  return Vec3TransformCoord(clip, MatrixInverse(MatrixMultiply(MatrixMultiply(world, view), projection)));
}

Plane PlaneFromPointNormal(const Vector3& point, const Vector3& normal) {
  return {normal.x, normal.y, normal.z, -(point.x * normal.x + point.y * normal.y + point.z * normal.z)};
}

bool PlaneIntersectLine(const Plane& plane, const Vector3& p1, const Vector3& p2, Vector3& out) {
  const Vector3 direction{p2.x - p1.x, p2.y - p1.y, p2.z - p1.z};
  const float along = plane.a * direction.x + plane.b * direction.y + plane.c * direction.z;
  if (along == 0) return false;
  const float t = -(plane.a * p1.x + plane.b * p1.y + plane.c * p1.z + plane.d) / along;
  out = {p1.x + t * direction.x, p1.y + t * direction.y, p1.z + t * direction.z};
  return true;
}

Quaternion QuaternionRotationAxis(const Vector3& axis, float angle) {
  return Q(glm::angleAxis(angle, glm::normalize(V(axis))));
}

Quaternion QuaternionRotationYawPitchRoll(float yaw, float pitch, float roll) {
  // Roll about z, then pitch about x, then yaw about y.
  const glm::quat r = glm::angleAxis(roll, glm::vec3(0, 0, 1));
  const glm::quat p = glm::angleAxis(pitch, glm::vec3(1, 0, 0));
  const glm::quat y = glm::angleAxis(yaw, glm::vec3(0, 1, 0));
  return Q(y * p * r);
}

Quaternion QuaternionMultiply(const Quaternion& a, const Quaternion& b) { return Q(Q(b) * Q(a)); }

Quaternion QuaternionSlerp(const Quaternion& a, const Quaternion& b, float t) {
  return Q(glm::slerp(Q(a), Q(b), t));
}

Quaternion QuaternionNormalize(const Quaternion& q) { return Q(glm::normalize(Q(q))); }

Matrix MatrixRotationQuaternion(const Quaternion& q) { return M(glm::mat4_cast(Q(q))); }

}  // namespace kiv::gfx
