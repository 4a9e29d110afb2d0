// The marker segments of a baseline JFIF file, in the order they are written. Portable.
#pragma once

#include <string>
#include <vector>

#include "snapshot/cjpeg.h"
#include "snapshot/jpeg_bitwriter.h"
#include "snapshot/jpeg_huffman.h"
#include "snapshot/jpeg_tables.h"

namespace orv::jpeg {

void EmitSoi(ByteSink& out);
void EmitApp0(ByteSink& out);                              // JFIF 1.01, no units, 1:1
void EmitCom(ByteSink& out, const std::string& text);      // nothing for an empty text
void EmitDqt(ByteSink& out, const QuantTable& t, int index);  // 8-bit entries
void EmitSof0(ByteSink& out, int width, int height, const std::vector<cJpeg::Component>& comps);  // 8-bit samples
void EmitDht(ByteSink& out, const HuffmanTableDef& def, int classAndIndex);  // 0x00, 0x10, 0x01, 0x11
void EmitSos(ByteSink& out, const std::vector<cJpeg::Component>& comps, const std::vector<int>& scan);
void EmitEoi(ByteSink& out);

}  // namespace orv::jpeg
