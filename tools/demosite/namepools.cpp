#include "demosite/namepools.h"

#include <array>

namespace demosite {
namespace {

constexpr std::array<std::string_view, 44> models{
    "Mira",   "Anouk", "Kate",  "Lena",  "Sofia",  "Yuki",  "Ines",   "Marta", "Nadia",
    "Olga",   "Paula", "Rosa",  "Sanne", "Tessa",  "Vera",  "Wanda",  "Zoe",   "Alina",
    "Bianca", "Carla", "Daria", "Elena", "Frida",  "Greta", "Hanna",  "Ilse",  "Julia",
    "Kira",   "Lotte", "Maren", "Nina",  "Oksana", "Petra", "Ruth",   "Selma", "Tanja",
    "Ulla",   "Viola", "Xenia", "Yara",  "Zita",   "Amber", "Celine", "Dunja"};

constexpr std::array<std::string_view, 16> photographers{
    "Kai Tanaka",  "Jon Dahl",    "Ruben Alves", "Ida Lind",  "Marco Ferri", "Sven Ek",
    "Tomas Novak", "Hugo Blanc",  "Emil Berg",   "Pia Holm",  "Lars Vik",    "Nils Aas",
    "Oscar Ruiz",  "Anna Kovacs", "Felix Roth",  "Greg Mills"};

constexpr std::array<std::string_view, 8> countries{
    "Czech Republic", "Germany", "Hungary", "Japan", "Netherlands", "Russia", "Spain", "Ukraine"};

constexpr std::array<std::string_view, 16> adjectives{
    "Golden", "Quiet", "Summer", "Blue",  "Morning", "Hidden", "Soft",   "Wild",
    "Silver", "Late",  "Velvet", "First", "Winter",  "Bright", "Little", "Open"};

constexpr std::array<std::string_view, 16> nouns{
    "Light",   "Garden", "Window", "Dream", "Harbour", "Meadow", "Studio",  "Afternoon",
    "Terrace", "River",  "Room",   "Field", "Mirror",  "Beach",  "Balcony", "Forest"};

} // namespace

std::span<const std::string_view> modelNamePool() {
    return models;
}
std::span<const std::string_view> photographerNamePool() {
    return photographers;
}
std::span<const std::string_view> countryNamePool() {
    return countries;
}
std::span<const std::string_view> titleAdjectives() {
    return adjectives;
}
std::span<const std::string_view> titleNouns() {
    return nouns;
}

} // namespace demosite
