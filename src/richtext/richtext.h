#pragma once
// The rich text engine's public face: what other folders use.
//   TWPRtfStorage     the store of one RTF text (cell texts, rich-text labels)
//   TWPRtfRenderer    paints a store's text onto any QPainter at a zoom (PaintRtf in one call)
//   TWPRichText       the editor control (WPRichText1)
//   TWPToolBar        the format tool bar (WPToolBar1)
//   RichTextDemoDialog  the engine on its own, for the main window's menu
//   ReadRtf / WriteRtf  the RTF codec over the RtfText model
#include "richtext/format_toolbar.h"
#include "richtext/rich_text_demo_dialog.h"
#include "richtext/rich_text_editor.h"
#include "richtext/rtf_model.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_renderer.h"
#include "richtext/rtf_storage.h"
#include "richtext/rtf_writer.h"
