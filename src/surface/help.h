#pragma once
// Numbered help topics: HTML files named by number in the shipped data's help folder.
#include <QString>

namespace plennix {
// The file of a topic (data/help/<topic>.html); empty when no data folder is known.
QString HelpTopicFile(int topic);
// Shows the topic in the help window, or tells the user that it is not available.
void ShowHelpTopic(int topic);
}  // namespace plennix
