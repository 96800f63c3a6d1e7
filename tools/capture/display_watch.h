// The display the renderer draws on: checked before anything is made, and watched while a render
// runs. On Windows the system draws without a display server: nothing to check or watch.
#pragma once

class DisplayHold {
  public:
    // Throws std::runtime_error, saying how to render without a display of one's own, when there is
    // none to draw on. Otherwise holds a connection of its own until GLUT has one, so that an X
    // server started for this run alone does not reset in between.
    explicit DisplayHold(const char* programName);
    ~DisplayHold();
    DisplayHold(const DisplayHold&) = delete;
    DisplayHold& operator=(const DisplayHold&) = delete;

  private:
    void* connection = nullptr;
};

// From now on `lost` is called when the connection to the display is lost; it must end the
// process, as nothing can use the display any more.
void whenDisplayLost(void (*lost)());
