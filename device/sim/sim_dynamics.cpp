#include "sim_dynamics.h"

namespace {

struct Rate {
    Quat dq;
    Vec3 dw;
};

Rate derivative(Quat q, Vec3 w, Vec3 inertia, Vec3 dipole, Vec3 field_inertial) {
    const Vec3 torque = cross(dipole, rotate_back(q, field_inertial));
    const Vec3 h = scale(inertia, w);
    const Vec3 a = torque - cross(w, h);
    return {0.5 * (q * Quat{0, w.x, w.y, w.z}),
            {a.x / inertia.x, a.y / inertia.y, a.z / inertia.z}};
}

}  // namespace

BodyState body_step(const BodyState& s, Vec3 inertia, Vec3 dipole, const Vec3 field[3], double dt) {
    const double h = 0.5 * dt;
    const Rate k1 = derivative(s.q, s.w, inertia, dipole, field[0]);
    const Rate k2 = derivative(s.q + h * k1.dq, s.w + h * k1.dw, inertia, dipole, field[1]);
    const Rate k3 = derivative(s.q + h * k2.dq, s.w + h * k2.dw, inertia, dipole, field[1]);
    const Rate k4 = derivative(s.q + dt * k3.dq, s.w + dt * k3.dw, inertia, dipole, field[2]);
    const double sixth = dt / 6.0;
    BodyState next;
    next.q = normalized(s.q + sixth * (k1.dq + 2.0 * k2.dq + 2.0 * k3.dq + k4.dq));
    next.w = s.w + sixth * (k1.dw + 2.0 * k2.dw + 2.0 * k3.dw + k4.dw);
    return next;
}

double body_energy(const BodyState& s, Vec3 inertia) {
    return 0.5 * dot(s.w, scale(inertia, s.w));
}

Vec3 body_momentum(const BodyState& s, Vec3 inertia) {
    return rotate(s.q, scale(inertia, s.w));
}
