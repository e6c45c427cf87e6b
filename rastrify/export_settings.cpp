#include "rastrify/export_settings.h"

#include "rastrify/decoder_invocation.h"

ExportSettings gExportSettings;

void ResetExportSettings() {
  gExportSettings = ExportSettings();
  ResetModuleDirectory();
}
