#include "sim_preset.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

enum class Kind { Number, Vector, Attitude, Text };

struct KeyRule {
    const char* key;
    Kind kind;
    double SimPreset::*number;
    Vec3 SimPreset::*vector;
    double minimum;
    double maximum;
};

constexpr KeyRule number_rule(const char* key, double SimPreset::*member, double lo, double hi) {
    return {key, Kind::Number, member, nullptr, lo, hi};
}
constexpr KeyRule vector_rule(const char* key, Vec3 SimPreset::*member, double lo, double hi) {
    return {key, Kind::Vector, nullptr, member, lo, hi};
}

// order: SimPreset. The ranges keep the integration sound and the numbers those of a small
// satellite near the Earth; they do not keep a teacher from an odd world.
const KeyRule RULES[] = {
    {"description", Kind::Text, nullptr, nullptr, 0, 0},
    number_rule("orbit_altitude_km", &SimPreset::orbit_altitude_km, 100, 100000),
    number_rule("orbit_inclination_deg", &SimPreset::orbit_inclination_deg, 0, 180),
    number_rule("orbit_start_deg", &SimPreset::orbit_start_deg, -360, 360),
    number_rule("earth_radius_km", &SimPreset::earth_radius_km, 100, 100000),
    number_rule("earth_mu_km3_s2", &SimPreset::earth_mu_km3_s2, 1, 1e7),
    number_rule("earth_rate_deg_s", &SimPreset::earth_rate_deg_s, -1, 1),
    number_rule("earth_angle_start_deg", &SimPreset::earth_angle_start_deg, -360, 360),
    number_rule("field_b0_t", &SimPreset::field_b0_t, 0, 1e-3),
    number_rule("field_tilt_deg", &SimPreset::field_tilt_deg, 0, 180),
    number_rule("field_tilt_lon_deg", &SimPreset::field_tilt_lon_deg, -360, 360),
    vector_rule("inertia_kg_m2", &SimPreset::inertia_kg_m2, 1e-5, 1e3),
    {"attitude_quat", Kind::Attitude, nullptr, nullptr, -1e3, 1e3},
    vector_rule("rate_rad_s", &SimPreset::rate_rad_s, -10, 10),
    number_rule("coil_dipole_max_a_m2", &SimPreset::coil_dipole_max_a_m2, 0, 10),
    number_rule("heat_capacity_j_k", &SimPreset::heat_capacity_j_k, 1, 1e7),
    number_rule("sun_power_w", &SimPreset::sun_power_w, 0, 1e4),
    number_rule("earth_power_w", &SimPreset::earth_power_w, 0, 1e4),
    number_rule("cpu_power_w_per_step", &SimPreset::cpu_power_w_per_step, 0, 1e3),
    number_rule("emissivity", &SimPreset::emissivity, 0.01, 1),
    number_rule("radiator_area_m2", &SimPreset::radiator_area_m2, 1e-3, 100),
    number_rule("space_temp_k", &SimPreset::space_temp_k, 0, 1000),
    number_rule("temp_start_c", &SimPreset::temp_start_c, -273, 1000),
    number_rule("sun_beta_deg", &SimPreset::sun_beta_deg, -90, 90),
    number_rule("sun_noon_deg", &SimPreset::sun_noon_deg, -360, 360),
    number_rule("env_speedup", &SimPreset::env_speedup, 0, 1000),
    number_rule("station_lat_deg", &SimPreset::station_lat_deg, -90, 90),
    number_rule("station_lon_deg", &SimPreset::station_lon_deg, -360, 360),
    number_rule("station_min_elevation_deg", &SimPreset::station_min_elevation_deg, -10, 90),
    number_rule("radio_freq_mhz", &SimPreset::radio_freq_mhz, 1, 1e5),
    number_rule("waterfall_hz_per_column", &SimPreset::waterfall_hz_per_column, 1, 1e9),
};
constexpr size_t RULE_COUNT = sizeof RULES / sizeof RULES[0];

constexpr size_t MAX_DESCRIPTION = 200;

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

// A word of the file for a message: printable ASCII as itself, other bytes as \xNN, cut short.
std::string quoted(std::string_view word) {
    constexpr size_t MAX_SHOWN = 40;
    std::string out = "'";
    for (size_t i = 0; i < word.size() && i < MAX_SHOWN; ++i) {
        const auto c = static_cast<unsigned char>(word[i]);
        if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    if (word.size() > MAX_SHOWN) out += "...";
    return out + "'";
}

std::string number_text(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

// The blank-separated numbers of a value.
bool parse_numbers(std::string_view text, std::vector<double>& out, std::string& bad) {
    out.clear();
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && is_blank(text[i])) ++i;
        if (i == text.size()) break;
        size_t end = i;
        while (end < text.size() && !is_blank(text[end])) ++end;
        std::string_view word = text.substr(i, end - i);
        i = end;
        std::string_view digits = word;
        if (digits.size() > 1 && digits.front() == '+') digits.remove_prefix(1);
        double v = 0;
        const auto [stop, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
        if (ec != std::errc() || stop != digits.data() + digits.size() || !std::isfinite(v)) {
            bad = std::string(word);
            return false;
        }
        out.push_back(v);
    }
    return true;
}

bool next_line(std::string_view text, size_t& pos, std::string_view& line) {
    if (pos >= text.size()) return false;
    const size_t end = text.find('\n', pos);
    const size_t stop = end == std::string_view::npos ? text.size() : end;
    line = text.substr(pos, stop - pos);
    pos = stop + 1;
    return true;
}

}  // namespace

SimPresetRead sim_preset_parse(std::string_view text) {
    // The UTF-8 byte-order mark some editors put at the start of a file is no part of it.
    while (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    SimPresetRead read;
    SimPreset& p = read.preset;
    int given_on[RULE_COUNT] = {};
    size_t pos = 0;
    std::string_view raw;
    std::vector<double> numbers;
    for (int line_number = 1; next_line(text, pos, raw); ++line_number) {
        const auto fail = [&](std::string reason) {
            read.error_line = line_number;
            read.error = std::move(reason);
            return read;
        };
        const std::string_view line = trim(raw.substr(0, raw.find('#')));
        if (line.empty()) continue;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) return fail("expected KEY = VALUE, got " + quoted(line));
        const std::string_view key = trim(line.substr(0, eq));
        const std::string_view value = trim(line.substr(eq + 1));
        size_t r = 0;
        while (r < RULE_COUNT && key != RULES[r].key) ++r;
        if (r == RULE_COUNT) return fail("unknown key " + quoted(key));
        const KeyRule& rule = RULES[r];
        if (given_on[r] != 0) {
            return fail(std::string(rule.key) + " is given twice, first on line " +
                        std::to_string(given_on[r]));
        }
        given_on[r] = line_number;
        if (value.empty()) return fail(std::string(rule.key) + " has no value");

        if (rule.kind == Kind::Text) {
            if (value.size() > MAX_DESCRIPTION) {
                return fail("the description is longer than " + std::to_string(MAX_DESCRIPTION) +
                            " characters");
            }
            for (const char c : value) {
                if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7f) {
                    return fail("the description holds " + quoted(std::string_view(&c, 1)) +
                                ": printable ASCII only");
                }
            }
            p.description = std::string(value);
            continue;
        }
        std::string bad;
        if (!parse_numbers(value, numbers, bad)) {
            return fail(std::string(rule.key) + ": bad number " + quoted(bad));
        }
        const size_t wanted = rule.kind == Kind::Number ? 1 : rule.kind == Kind::Vector ? 3 : 4;
        if (numbers.size() != wanted) {
            return fail(std::string(rule.key) + ": " +
                        (wanted == 1 ? "one number" : std::to_string(wanted) + " numbers") +
                        ", got " + std::to_string(numbers.size()));
        }
        for (const double v : numbers) {
            if (v < rule.minimum || v > rule.maximum) {
                return fail(std::string(rule.key) + ": " + number_text(v) + " is out of range " +
                            number_text(rule.minimum) + " to " + number_text(rule.maximum));
            }
        }
        switch (rule.kind) {
            case Kind::Number:
                p.*rule.number = numbers[0];
                break;
            case Kind::Vector:
                p.*rule.vector = {numbers[0], numbers[1], numbers[2]};
                break;
            case Kind::Attitude: {
                const Quat q{numbers[0], numbers[1], numbers[2], numbers[3]};
                if (!(norm(q) > 1e-9)) return fail("attitude_quat: all four are 0");
                p.attitude_quat = normalized(q);
                break;
            }
            case Kind::Text:
                break;
        }
    }
    // No rigid body has a moment of inertia larger than the other two together.
    const Vec3 i = p.inertia_kg_m2;
    if (i.x > i.y + i.z || i.y > i.x + i.z || i.z > i.x + i.y) {
        size_t r = 0;
        while (std::string_view(RULES[r].key) != "inertia_kg_m2") ++r;
        read.error_line = given_on[r];
        read.error = "inertia_kg_m2: no body has one moment larger than the other two together";
    }
    return read;
}

std::vector<std::string> sim_preset_keys() {
    std::vector<std::string> keys;
    for (const KeyRule& rule : RULES) keys.emplace_back(rule.key);
    return keys;
}

const ShippedPreset* sim_find_shipped(std::string_view name) {
    for (const ShippedPreset& p : sim_shipped_presets()) {
        if (name == p.name) return &p;
    }
    return nullptr;
}
