#pragma once
// Lets the encoder's WM_COPYDATA progress messages through the window-message filter, which on
// newer systems holds back such messages from programs of a lower integrity level. 1 on systems
// without the filter, 0 when both messages were let through, else -1.
int AllowCopyDataMessages();
