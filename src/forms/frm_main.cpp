#include "forms/frm_main.h"

namespace vollo {

namespace {

constexpr DesignColor kDarkBlue = 0x00400000;
constexpr DesignColor kSilver = 0x00C0C0C0;
constexpr DesignColor kDarkGrey = 0x00404040;
constexpr DesignColor kGrey = 0x00808080;
constexpr DesignColor kWhite = 0x00FFFFFF;
constexpr DesignColor kBlack = 0x00000000;

const FontSpec kTahoma975{"Tahoma", 9.75f, false};
const FontSpec kTahoma975Bold{"Tahoma", 9.75f, true};
const FontSpec kVerdana12{"Verdana", 12.0f, false};

void styleHeading(Label& label) {
    label.setFont(kTahoma975Bold);
    label.setColors(kSilver, kDarkGrey);
}

MenuEntry& menu(MenuEntry& entry, const std::string& caption, MenuEntry* parent) {
    entry.setCaption(caption);
    entry.setContainer(parent);
    if (parent) {
        parent->entries.push_back(&entry);
    }
    return entry;
}

}  // namespace

FrmMain::FrmMain(FormRegistry& registry, AppContext& context)
    : Form(registry, kFrmMain),
      lblSongLibrary(add<Label>("Label1", 1)),
      lblFirstTime(add<Label>("lblFirstTime")),
      frmMiniKeyboard(add<Frame>("frmMiniKeyboard")),
      hiddenSongList(add<ListBox>("hiddenSongList")),
      visibleSongList(add<ListBox>("visibleSongList")),
      lblFilter(add<Label>("Label1", 0)),
      txtFilter(add<TextBox>("txtFilter")),
      cmdAdd(add<CommandButton>("cmdAdd")),
      lblPlaylist(add<Label>("Label1", 2)),
      playList(add<ListBox>("playList")),
      cmdMoveToTop(add<CommandButton>("cmdMoveToTop")),
      cmdMoveUp(add<CommandButton>("cmdMoveUp")),
      cmdMoveDown(add<CommandButton>("cmdMoveDown")),
      cmdMoveToBottom(add<CommandButton>("cmdMoveToBottom")),
      cmdRemove(add<CommandButton>("cmdRemove")),
      Frame1(add<Frame>("Frame1")),
      lblSongName(add<Label>("lblSongName")),
      lblSongTime(add<Label>("lblSongTime")),
      cmdPlay(add<CommandButton>("cmdPlay")),
      cmdPause(add<CommandButton>("cmdPause")),
      cmdStop(add<CommandButton>("cmdStop")),
      tracker(add<Picture>("tracker")),
      trackee(add<Picture>("trackee")),
      volume(add<Picture>("volume")),
      volumeTrackee(add<Picture>("volumeTrackee")),
      shuffle(add<CheckBox>("shuffle")),
      repeat(add<CheckBox>("repeat")),
      hiddenSongListInfo(add<ListBox>("hiddenSongListInfo")),
      playListInfo(add<ListBox>("playListInfo")),
      alphaSorter(add<ListBox>("alphaSorter")),
      mainTimer(add<Timer>("mainTimer")),
      cmnPlaylist(add<FileDialog>("cmnPlaylist")),
      mnuFile(add<MenuEntry>("mnuFile")),
      mnuOptions(add<MenuEntry>("mnuOptions")),
      mnuSearch(add<MenuEntry>("mnuSearch")),
      mnuDivider(add<MenuEntry>("mnuDivider")),
      mnuExit(add<MenuEntry>("mnuExit")),
      mnuView(add<MenuEntry>("mnuView")),
      mnuShowFilter(add<MenuEntry>("mnuShowFilter")),
      mnuKeyboard(add<MenuEntry>("mnuKeyboard")),
      mnuPlaylist(add<MenuEntry>("mnuPlaylist")),
      mnuNewPlaylist(add<MenuEntry>("mnuNewPlaylist")),
      mnuOpenPlaylist(add<MenuEntry>("mnuOpenPlaylist")),
      mnuSavePlaylist(add<MenuEntry>("mnuSavePlaylist")),
      mnuDivider2(add<MenuEntry>("mnuDivider2")),
      mnuSortPlaylist(add<MenuEntry>("mnuSortPlaylist")),
      mnuHelp(add<MenuEntry>("mnuHelp")),
      mnuAbout(add<MenuEntry>("mnuAbout")),
      context_(context) {
    for (int i = 0; i < 28; ++i) {
        cmdAlpha[static_cast<size_t>(i)] = &add<CommandButton>("cmdAlpha", i);
    }
    layout();
    registerVariables();
}

void FrmMain::layout() {
    setCaption("Vollo 2.0");
    setClientSize(10110, 7905);
    setLeft(1200);
    setTop(900);
    setFont({"Tahoma", 8.25f, false});
    backColor = kDarkBlue;
    picture = "background";
    border = Border::Fixed;

    lblSongLibrary.move(120, 120, 1695, 375);
    lblSongLibrary.setCaption("Song library");
    styleHeading(lblSongLibrary);

    lblFirstTime.move(120, 40, 1695, 495);
    lblFirstTime.setCaption("Click File->Options to add media folders.");
    // Opaque on the heading's own grey: the hint stands in the heading's place.
    lblFirstTime.setColors(kWhite, kDarkGrey);

    frmMiniKeyboard.move(1800, 0, 3375, 495);
    frmMiniKeyboard.setVisible(false);
    for (int i = 0; i < 28; ++i) {
        CommandButton& key = *cmdAlpha[static_cast<size_t>(i)];
        key.setContainer(&frmMiniKeyboard);
        const int column = i < 14 ? i : i - 14;
        key.move(240.0f * column, i < 14 ? 0.0f : 240.0f, 255, 255);
        key.setFont({"Verdana", 8.25f, false});
        key.setColors(std::nullopt, kSilver);
        key.setCaption(i == 0 ? "#" : (i == 27 ? "*" : std::string(1, static_cast<char>('A' + i - 1))));
    }

    hiddenSongList.sorted = true;
    hiddenSongList.move(120, 480, 5055, 5310);
    hiddenSongList.setFont(kTahoma975);
    visibleSongList.sorted = true;
    visibleSongList.move(120, 480, 5055, 5310);
    visibleSongList.setFont(kTahoma975);
    visibleSongList.setVisible(false);

    lblFilter.move(120, 5880, 855, 390);
    lblFilter.setCaption("Filter");
    styleHeading(lblFilter);
    txtFilter.move(960, 5880, 2895, 390);
    txtFilter.setFont({"Courier New", 12.0f, false});
    txtFilter.setColors(kBlack, kWhite);
    txtFilter.setToolTipText("Show only songs whose titles begin with this text");
    cmdAdd.move(3960, 5880, 1215, 375);
    cmdAdd.setCaption("Add");
    cmdAdd.setFont(kTahoma975Bold);
    cmdAdd.setColors(std::nullopt, kSilver);
    cmdAdd.setToolTipText("Add selected song(s) to playlist");

    lblPlaylist.move(5400, 120, 1215, 375);
    lblPlaylist.setCaption("Playlist");
    styleHeading(lblPlaylist);
    playList.move(5400, 480, 4575, 5310);
    playList.setFont(kTahoma975);
    playList.setColors(std::nullopt, kWhite);

    struct Arrow {
        CommandButton& button;
        float left;
        const char* glyph;
        const char* tip;
    };
    const Arrow arrows[] = {
        {cmdMoveToTop, 5400, "\u21E7", "Move selected song(s) to top of playlist"},
        {cmdMoveUp, 5880, "\u2191", "Move the selected song(s) up one slot in the playlist"},
        {cmdMoveDown, 6360, "\u2193", "Move the selected song(s) down one slot in the playlist"},
        {cmdMoveToBottom, 6840, "\u21E9", "Move selected song(s) to bottom of playlist"},
    };
    for (const Arrow& arrow : arrows) {
        arrow.button.move(arrow.left, 5880, 375, 375);
        arrow.button.setCaption(arrow.glyph);
        arrow.button.setToolTipText(arrow.tip);
        arrow.button.setFont({"Tahoma", 12.0f, true});
        arrow.button.setColors(std::nullopt, kSilver);
    }
    cmdRemove.move(8760, 5880, 1215, 375);
    cmdRemove.setCaption("Remove");
    cmdRemove.setFont(kTahoma975Bold);
    cmdRemove.setColors(std::nullopt, kSilver);
    cmdRemove.setToolTipText("Remove selected song(s) from playlist");

    Frame1.move(120, 6360, 8775, 1455);
    Frame1.setColors(std::nullopt, kGrey);
    for (Control* inPanel :
         std::initializer_list<Control*>{&lblSongName, &lblSongTime, &cmdPlay, &cmdPause, &cmdStop, &tracker,
                                         &trackee, &volume, &volumeTrackee, &shuffle, &repeat}) {
        inPanel->setContainer(&Frame1);
    }
    lblSongName.move(120, 120, 8535, 375);
    lblSongName.setFont(kVerdana12);
    lblSongName.setColors(kWhite, std::nullopt);
    lblSongTime.move(120, 480, 8535, 375);
    lblSongTime.setFont(kVerdana12);
    lblSongTime.setColors(0x00E0E0E0, std::nullopt);
    cmdPlay.move(120, 900, 495, 495);
    cmdPlay.setPicture("play");
    cmdPause.move(600, 900, 495, 495);
    cmdPause.setPicture("pause");
    cmdStop.move(1080, 900, 495, 495);
    cmdStop.setPicture("stop");
    for (CommandButton* button : {&cmdPlay, &cmdPause, &cmdStop}) {
        button->setColors(std::nullopt, kDarkGrey);
    }
    cmdPlay.setToolTipText("Play the current song");
    cmdPause.setToolTipText("Pause the current song");
    cmdStop.setToolTipText("Stop the current song");
    tracker.setToolTipText("Drag the knob along the bar to move through the song");
    trackee.setToolTipText("Drag to move through the song");
    volume.setToolTipText("Drag the knob along the bar to change the volume");
    volumeTrackee.setToolTipText("Drag to change the volume");
    shuffle.setToolTipText("Play the playlist in random order");
    repeat.setToolTipText("Start the playlist again after its last song");
    tracker.move(1680, 1035, 2535, 255);
    tracker.setPicture("track");
    trackee.move(1680, 1035, 210, 255);
    trackee.setPicture("knob");
    trackee.dragAutomatic = true;
    volume.move(4320, 990, 1200, 300);
    volume.setPicture("volume");
    volumeTrackee.move(5325, 1030, 195, 255);
    volumeTrackee.setPicture("knob");
    volumeTrackee.dragAutomatic = true;
    shuffle.move(6360, 960, 1215, 315);
    shuffle.setCaption("Shuffle");
    repeat.move(7560, 960, 1095, 315);
    repeat.setCaption("Repeat");
    for (CheckBox* box : {&shuffle, &repeat}) {
        box->setFont({"Verdana", 9.75f, true});
        box->setColors(kWhite, kGrey);
    }

    hiddenSongListInfo.move(120, 600, 4215, 3945);
    hiddenSongListInfo.setVisible(false);
    playListInfo.move(5400, 480, 4575, 3180);
    playListInfo.setVisible(false);
    alphaSorter.sorted = true;
    alphaSorter.move(7200, 5160, 2775, 300);
    alphaSorter.setVisible(false);
    mainTimer.intervalMs = 1;
    mainTimer.setVisible(false);
    cmnPlaylist.setVisible(false);
    cmnPlaylist.filter = "Playlists|*.m3u";
    cmnPlaylist.dialogTitle = "Open Playlist";

    menuBar = {&menu(mnuFile, "&File", nullptr), &menu(mnuView, "&View", nullptr),
               &menu(mnuPlaylist, "&Playlist", nullptr), &menu(mnuHelp, "&Help", nullptr)};
    menu(mnuOptions, "&Options", &mnuFile);
    menu(mnuSearch, "&Search", &mnuFile);
    menu(mnuDivider, "-", &mnuFile);
    menu(mnuExit, "E&xit", &mnuFile);
    menu(mnuShowFilter, "&Filter", &mnuView).setChecked(true);
    menu(mnuKeyboard, "&Mini-keyboard", &mnuView).setChecked(false);
    menu(mnuNewPlaylist, "&New", &mnuPlaylist);
    menu(mnuOpenPlaylist, "&Open", &mnuPlaylist);
    menu(mnuSavePlaylist, "&Save", &mnuPlaylist);
    menu(mnuDivider2, "-", &mnuPlaylist);
    menu(mnuSortPlaylist, "&Sort Alphabetically", &mnuPlaylist);
    menu(mnuAbout, "&About Vollo", &mnuHelp);
}

void FrmMain::appendToPlaylist(const std::string& title, const std::string& path) {
    playListInfo.addItem(path);
    playList.addItem(title);
}

void FrmMain::registerVariables() {
    variable("currentSong", [this](int) { return VarValue(static_cast<double>(currentSong)); });
    variable("userStopped", [this](int) { return VarValue(userStopped); });
    variable("shuffleHistory", [this](int) { return VarValue(shuffleHistory.text()); });
    variable("mediaDirs", [this](int i) {
        return VarValue(i >= 0 && i < static_cast<int>(mediaDirs.size()) ? mediaDirs[static_cast<size_t>(i)]
                                                                         : std::string());
    });
    variable("visibleSongListInfo", [this](int i) {
        return VarValue(i >= 0 && i < static_cast<int>(visibleSongListInfo.size())
                            ? visibleSongListInfo[static_cast<size_t>(i)].text()
                            : std::string());
    });
    variable("hiddenSongListInfo", [this](int i) {
        return VarValue(i >= 0 && i < hiddenSongListInfo.listCount() ? hiddenSongListInfo.list(i)
                                                                     : std::string());
    });
}

}  // namespace vollo
