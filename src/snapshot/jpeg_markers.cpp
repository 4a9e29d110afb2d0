#include "snapshot/jpeg_markers.h"

namespace orv::jpeg {

void EmitSoi(ByteSink& out) { out.Word(0xFFD8); }

void EmitApp0(ByteSink& out) {
    static constexpr std::uint8_t kApp0[] = {0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
    out.Bytes(kApp0, sizeof kApp0);
}

void EmitCom(ByteSink& out, const std::string& text) {
    if (text.empty()) return;
    out.Word(0xFFFE);
    out.Word(static_cast<unsigned>(text.size() + 2));
    out.Bytes(text.data(), text.size());
}

void EmitDqt(ByteSink& out, const QuantTable& t, int index) {
    out.Word(0xFFDB);
    out.Word(2 + 1 + 64);
    out.Byte(static_cast<std::uint8_t>(index));
    for (std::uint16_t q : t.zigzag) out.Byte(static_cast<std::uint8_t>(q));
}

void EmitSof0(ByteSink& out, int width, int height, const std::vector<cJpeg::Component>& comps) {
    out.Word(0xFFC0);
    out.Word(static_cast<unsigned>(8 + 3 * comps.size()));
    out.Byte(8);
    out.Word(static_cast<unsigned>(height));
    out.Word(static_cast<unsigned>(width));
    out.Byte(static_cast<std::uint8_t>(comps.size()));
    for (const cJpeg::Component& c : comps) {
        out.Byte(static_cast<std::uint8_t>(c.id));
        out.Byte(static_cast<std::uint8_t>(c.h * 16 + c.v));
        out.Byte(static_cast<std::uint8_t>(c.table));
    }
}

void EmitDht(ByteSink& out, const HuffmanTableDef& def, int classAndIndex) {
    out.Word(0xFFC4);
    out.Word(static_cast<unsigned>(2 + 1 + 16 + def.values.size()));
    out.Byte(static_cast<std::uint8_t>(classAndIndex));
    for (int i = 1; i <= 16; ++i) out.Byte(def.bits[static_cast<std::size_t>(i)]);
    out.Bytes(def.values.data(), def.values.size());
}

void EmitSos(ByteSink& out, const std::vector<cJpeg::Component>& comps, const std::vector<int>& scan) {
    out.Word(0xFFDA);
    out.Word(static_cast<unsigned>(6 + 2 * scan.size()));
    out.Byte(static_cast<std::uint8_t>(scan.size()));
    for (int i : scan) {
        const cJpeg::Component& c = comps[static_cast<std::size_t>(i)];
        const int t = i == 0 ? 0 : 1;
        out.Byte(static_cast<std::uint8_t>(c.id));
        out.Byte(static_cast<std::uint8_t>(t * 16 + t));
    }
    out.Byte(0);   // Ss
    out.Byte(63);  // Se
    out.Byte(0);   // Ah, Al
}

void EmitEoi(ByteSink& out) { out.Word(0xFFD9); }

}  // namespace orv::jpeg
