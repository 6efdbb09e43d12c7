// exit_at_once: the smallest command a Suspend or Resume box can hold. With
// it as the command, a measured hold is the cost of starting and reaping a
// process, not of any work the command does.
int main() {
    return 0;
}
