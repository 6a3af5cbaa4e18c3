[playlist]
NumberOfEntries=3
File1=C:\Clips\a.gif
File3= "rel\c.gif" 
Title1=A
Version=2
[Other]
File2=x.gif
