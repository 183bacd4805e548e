#include "sim_preset.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "key_value.h"

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
    return c == ' ' || c == '\t';
}

std::string quoted(std::string_view word) {
    return key_value_shown(word);
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

const std::vector<KeyValueKey>& preset_keys() {
    static const std::vector<KeyValueKey> keys = [] {
        std::vector<KeyValueKey> k;
        for (const KeyRule& rule : RULES) k.push_back({rule.key});
        return k;
    }();
    return keys;
}

}  // namespace

SimPresetRead sim_preset_parse(std::string_view text) {
    SimPresetRead read;
    SimPreset& p = read.preset;
    int given_on[RULE_COUNT] = {};
    KeyValueReader reader(text, preset_keys());
    KeyValueLine line;
    std::vector<double> numbers;
    while (true) {
        const bool more = reader.next(line);
        const auto fail = [&](std::string reason) {
            read.error_line = line.number;
            read.error = std::move(reason);
            return read;
        };
        switch (line.fault) {
            case KeyValueFault::None:
                break;
            case KeyValueFault::NoEquals:
                return fail("expected KEY = VALUE, got " + quoted(line.text));
            case KeyValueFault::OpenQuote:
                return fail("a quote is left open");
            case KeyValueFault::UnknownKey:
                return fail("unknown key " + quoted(line.key));
            case KeyValueFault::Repeated:
                return fail(std::string(line.key) + " is given twice, first on line " +
                            std::to_string(line.first_number));
            case KeyValueFault::NoValue:
                return fail(std::string(line.key) + " has no value");
        }
        if (!more) break;
        const KeyRule& rule = RULES[line.key_index];
        given_on[line.key_index] = line.number;
        const std::string_view value = line.value;

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
