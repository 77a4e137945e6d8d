# Writes N per-PC result files of LINES list lines each into DIR: program
# names drawn from a pool of POOL, a third of them in another letter case,
# one line in ten a class "4" repeat of a program already listed on that PC.
# Headers come in as CP949 bytes: COMP ([컴퓨터명]), LIST ([리스트]), HANCOM (한컴).
BEGIN {
    srand(SEED)
    for (i = 1; i <= N; i++) {
        path = sprintf("%s/pc%05d.ipt", DIR, i)
        printf "%s\r\nPC-%05d\r\n[user]\r\nkim\r\n[model]\r\nIntel\r\n[time]\r\n2004-3-3, 9:5 \r\n[group]\r\nAcme\r\n%s\r\n", COMP, i, LIST > path
        listed = 0
        for (j = 1; j <= LINES; j++) {
            if (listed > 0 && rand() < 0.1) {
                k = seen[int(rand() * listed) + 1]
                cls = 4
            } else {
                k = int(rand() * POOL)
                seen[++listed] = k
                cls = k % 3 + 1
            }
            name = "Program " k " Suite"
            r = rand()
            if (r < 0.15) name = toupper(name)
            else if (r < 0.3) name = tolower(name)
            company = (k % 11 == 0) ? HANCOM : "Vendor " (k % 97)
            origin = (cls == 3) ? 9 : 2
            printf "%d\t%d\tK%d\tAPP\tK2\t%s\t%d.%d\tK7\t%s\t%d\tC:\\Program Files\\Vendor%d\\Product%d\\bin %d\\\t\r\n", origin, cls, k, name, k % 9, k % 7, company, k % 2 + 1, k % 97, k, j > path
        }
        close(path)
    }
}
