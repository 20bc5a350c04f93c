#include "toolkit/palette.h"

const PaletteEntry kPalette[kPaletteSize] = {
    {"Тёмно-синий", "#000080"}, {"Чёрный", "#000000"},     {"Красный", "#FF0000"},
    {"Зелёный", "#008000"},     {"Синий", "#0000FF"},      {"Пурпурный", "#800080"},
    {"Коричневый", "#804000"},  {"Оранжевый", "#FF8000"},  {"Серый", "#808080"},
    {"Бирюзовый", "#008080"},   {"Оливковый", "#808000"},  {"Малиновый", "#C00060"},
};

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c; }

bool equalIgnoringCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (lowerAscii(*a) != lowerAscii(*b))
            return false;
    return *a == *b;
}

} // namespace

int paletteIndexOf(const char* rgb)
{
    if (!rgb)
        return -1;
    int found = -1;
    for (int i = 0; i < kPaletteSize; i++)
        if (equalIgnoringCase(rgb, kPalette[i].rgb))
            found = i;
    return found;
}

const char* paletteValueAt(int index)
{
    if (index < 0 || index >= kPaletteSize)
        index = 0;
    return kPalette[index].rgb;
}

Color selectedItemColor(Color panel) { return shadeColor(panel, 60); }
Color topicCaptionColor(Color panel) { return shadeColor(panel, -110); }
Color sectionHeaderEndColor(Color panel) { return shadeColor(panel, -40); }
Color sectionShadowColor(Color panel) { return shadeColor(panel, -90); }
