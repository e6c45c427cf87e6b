// Work in progress: the script writer is being written; this file only lets the tree build.
#include "ocrsift/textlayer/text_layer_writer.h"

TextLayerWriter::TextLayerWriter(FILE* scriptStream, bool suppressScript, bool joinHyphenated)
    : SuppressScript(suppressScript), ScriptStream(scriptStream), JoinHyphenated(joinHyphenated) {}
TextLayerWriter::~TextLayerWriter() = default;
